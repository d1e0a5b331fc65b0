#pragma once

#include "gui/common/form.h"

// About the program.
class AboutDialog : public Form {
    Q_OBJECT
public:
    AboutDialog();
};

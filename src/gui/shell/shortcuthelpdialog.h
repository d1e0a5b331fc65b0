#pragma once

#include "gui/common/form.h"

// Help on the sales screen's shortcut keys.
class ShortcutHelpDialog : public Form {
    Q_OBJECT
public:
    ShortcutHelpDialog();
};

#pragma once

#include "foundation/report.h"

class Forms;

// The till closing report.
class Tqr_fechamento : public Report {
public:
    explicit Tqr_fechamento(Forms& forms);
};

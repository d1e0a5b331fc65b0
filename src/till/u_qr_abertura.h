#pragma once

#include "foundation/report.h"

class Forms;

// The till opening report.
class Tqr_abertura : public Report {
public:
    explicit Tqr_abertura(Forms& forms);
};

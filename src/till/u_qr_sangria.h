#pragma once

#include "foundation/report.h"

class Forms;

// The withdrawal receipt.
class Tqr_sangria : public Report {
public:
    explicit Tqr_sangria(Forms& forms);
};

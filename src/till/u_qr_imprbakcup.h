#pragma once

#include "foundation/report.h"

class Forms;

// The last till backup, printed.
class Tqr_impbackup : public Report {
public:
    explicit Tqr_impbackup(Forms& forms);
};

#pragma once

#include "foundation/report.h"

class Forms;

// The last till backup, printed: a title and the stored text in a memo of fixed size.
class Tqr_impbackup : public Report {
public:
    explicit Tqr_impbackup(Forms& forms);
};

#pragma once

#include "core/print/report.h"

// The last till backup, printed: a title and the stored text in a memo of fixed size.
class LastTillReport : public Report {
public:
    LastTillReport();
};

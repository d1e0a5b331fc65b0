#pragma once

#include "core/print/report.h"

class Dataset;

// The till closing report: the till's figures and the tickets sold of each of the twenty keys.
// Its labels are filled by the sales screen's closing command and by the closing window.
class ClosingReport : public Report {
public:
    explicit ClosingReport(Dataset* festa);
};

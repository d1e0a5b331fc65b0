#pragma once

#include "core/print/report.h"

class Dataset;

// The till opening report. The opening sets the captions of qr_data, qr_hora, q_ncaixa,
// qr_responsavel, qr_operador and qr_entrada; the event header comes from the event data.
class OpeningReport : public Report {
public:
    explicit OpeningReport(Dataset* festa);
};

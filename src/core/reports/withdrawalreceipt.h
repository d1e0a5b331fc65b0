#pragma once

#include "core/print/report.h"

class Dataset;

// The withdrawal receipt. The withdrawal sets the captions of qr_data, qr_hora, q_ncaixa, q_nret,
// qr_responsavel, qr_operador and qr_valor, and the recipient and reason through their setters; the
// event header comes from the event data.
class WithdrawalReceipt : public Report {
public:
    explicit WithdrawalReceipt(Dataset* festa);

    // The recipient has no length limit and runs up to the right edge of the band; the reason has a
    // fixed box. A text too wide for its room prints in a smaller font, so it stays whole on its line;
    // one too wide even at the smallest readable size wraps inside its room, never past the paper.
    void setRecipient(const QString& text);
    void setReason(const QString& text);

    // Width in millimetres of the text in Arial of that size and weight.
    static double textWidthMm(const QString& text, double pointSize, bool bold);

private:
    void setFitted(const QString& element, const QString& text, double roomMm, double designTop,
                   double nextTop);
};

#pragma once

#include "core/till/productkeys.h"
#include "gui/common/form.h"

class TillModel;
class QLabel;
class QPushButton;

// The partial till view: the open till's figures and the tickets sold per product, as the till holds
// them. Showing it reads the counts afresh.
class PartialView : public Form {
    Q_OBJECT
public:
    explicit PartialView(TillModel& till);

    // The labels of a product key.
    QLabel* nameLabel(QChar key) const { return m_names[ProductKeys::all().indexOf(key)]; }   // l0 ... lj
    QLabel* countLabel(QChar key) const { return m_counts[ProductKeys::all().indexOf(key)]; } // cod0 ... codj

    void btquantClick();    // the counts, read afresh
    void bt_filtrarClick(); // product names, read afresh

    // Shows the till's figures.
    void refresh();

protected:
    void FormShow() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_names[ProductKeys::count] = {};
    QLabel* m_counts[ProductKeys::count] = {};
    TillModel& m_till;

    // Its widgets: other code finds them by their objectName.
private:
    QLabel* lentrada = nullptr;      // float, as typed
    QLabel* lsangria = nullptr;      // total withdrawn
    QLabel* lcaixa = nullptr;        // cash in till
    QLabel* lcont_sangria = nullptr; // number of withdrawals
};

#pragma once

#include "core/festa/festapanelstore.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

// The panel's "Caixas" page: each desk's till, contact, rows waiting and cash; a desk whose upload stopped
// shows in red with the reason; of two desks with one identity (a copied file) the treasurer chooses the
// one that keeps it.
class FestaDesksPage : public QWidget {
    Q_OBJECT
public:
    explicit FestaDesksPage(QWidget* parent = nullptr);

    void showFigures(const FestaPanelStore::Figures& figures);
    QWidget* focusTarget() const;

signals:
    // The treasurer chooses this desk of a copied identity to keep it.
    void releaseAsked(const FestaPanelStore::DeskFigures& keeper);

private:
    void release();
    void updateRelease();

    QList<FestaPanelStore::DeskFigures> m_desks;

    QLabel* l_caixa_totais = nullptr;
    QTableWidget* tbl_caixas = nullptr;
    QLabel* l_parados = nullptr;
    QPushButton* bt_liberar = nullptr;
};

#pragma once

#include "core/festa/festapanelstore.h"

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

// The panel's "Caixas fechados" page: every desk's closed tills, newest closing first, exported as a
// spreadsheet file like the desk's own history.
class FestaClosedTillsPage : public QWidget {
    Q_OBJECT
public:
    explicit FestaClosedTillsPage(QWidget* parent = nullptr);

    void showTills(const QList<FestaPanelStore::ClosedTill>& tills);
    QWidget* focusTarget() const;

    // Chooses the file to write (empty: none); tests replace it.
    static std::function<QString(QWidget* parent, const QString& suggested)> chooseFile;

private:
    void exportCsv();

    QList<FestaPanelStore::ClosedTill> m_tills;
    bool m_read = false;

    QLabel* l_fechados = nullptr;
    QTableWidget* tbl_fechados = nullptr;
    QPushButton* bt_csv = nullptr;
};

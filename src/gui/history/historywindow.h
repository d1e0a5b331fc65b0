#pragma once

#include "core/history/historysummary.h"
#include "gui/common/form.h"

#include <QMargins>
#include <QSize>
#include <functional>

class Database;
class QChart;
class QChartView;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;

// The festa's history: the closed tills, newest first, and the summary of those chosen (one or several
// rows, or every till of a date range) with its two charts, exported as spreadsheet files or printed.
class HistoryWindow : public Form {
    Q_OBJECT
public:
    // The two charts (drawn in views, not widgets of their own).
    QChart* chart_produtos = nullptr;
    QChart* chart_horas = nullptr;

    explicit HistoryWindow(Database& db);

    const HistorySummary::Summary& summary() const { return m_summary; }
    const QList<HistoryStore::ClosedTill>& tills() const { return m_tills; }

    // Chooses the file to write (empty: none); tests replace it.
    static std::function<QString(QWidget* parent, const QString& suggested)> chooseFile;

    void reload();
    void bt_periodoClick();
    void bt_csv_resumoClick();
    void bt_csv_listaClick();
    void bt_imprimirClick();

    void setVisible(bool visible) override;

protected:
    void FormShow() override;
    void showEvent(QShowEvent* event) override;

private:
    // Where the window would like to be: this size where the screen has room for it.
    static constexpr QSize designSize{1180, 800};
    // Opens inside the screen's free area: at its design size, or maximised on a smaller screen.
    void fitToScreen();
    void measureFrame();

    void selectionChanged();
    void showSummary();
    void exportCsv(const QString& name, const QByteArray& bytes);

    QList<HistoryStore::ClosedTill> m_tills;
    HistorySummary::Summary m_summary;
    QMargins m_frame; // the window manager's frame around the window, once seen
    Database& m_db;

    // Its widgets: other code finds them by their objectName.
private:
    QTableWidget* tbl_caixas = nullptr;
    QTableWidget* tbl_resumo = nullptr;
    QLabel* l_totais = nullptr;
    QDateEdit* dt_de = nullptr;
    QDateEdit* dt_ate = nullptr;
    QPushButton* bt_periodo = nullptr;
    QPushButton* bt_csv_resumo = nullptr;
    QPushButton* bt_csv_lista = nullptr;
    QPushButton* bt_imprimir = nullptr;
    QPushButton* bt_fechar = nullptr;
    QChartView* cv_produtos = nullptr;
};

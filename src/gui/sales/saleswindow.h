#pragma once

#include "core/settings/productstore.h"
#include "core/till/tillmodel.h"
#include "gui/common/form.h"
#include "gui/common/rowtablemodel.h"
#include "gui/sales/salegrid.h"

#include <QDateTime>
#include <QPointer>

class ClosingReport;
class Database;
class RowGrid;
class FestaDesk;
class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

// The sales screen: one till, rung up from the keyboard. While the cash entry is disabled no control
// can hold the focus, so every key reaches the window's own handler.
class TicketJobs;
class TicketReport;

class SalesWindow : public Form {
    Q_OBJECT
public:
    SalesWindow(Database& db, TillModel& till, TicketReport& ticket, ClosingReport& closing);

    TicketJobs* tickets = nullptr; // every ticket's print job, followed until it ends

    void productKey(QChar key); // bt0 ... btj: one line for that product
    void btsomarClick();        // recompute the total
    void btdelClick();          // clear the current sale
    void edt_entradaConfirm();  // Enter in the cash entry: change, tickets, cash, tally, change window

    void Fechamento1Click();  // Ctrl+F: the closing command
    void Parcial1Click();     // Ctrl+P
    void Sangria1Click();     // Ctrl+S
    void SpeedButton1Click(); // "Caderneta"
    void Reimprimir1Click();  // Ctrl+R
    void PainelFesta1Click(); // F11

    // The till closing's own close request: the only way this window closes.
    void closeTill();

    // The festa this desk reports to: its line under the printer's follows the desk's upload and the
    // catalogue it sells with. nullptr: no festa, no line.
    void setFesta(FestaDesk* desk);

    // Shown maximized, filling the screen even where no window manager maximizes it.
    void setVisible(bool visible) override;

signals:
    // What the cashier asks for beyond this screen; each is shown over it and has closed on return.
    void closingRequested(const QString& tillNumber); // Ctrl+F, the closing report's header already set
    void partialViewRequested();                      // Ctrl+P
    void withdrawalRequested();                       // Ctrl+S
    void creditBookRequested();                       // "Caderneta"
    void changeRequested(const QString& change);      // a completed sale's change
    void festaPanelRequested();                       // F11: the festa's panel over the sale

protected:
    void FormShow() override;
    void FormActivate() override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void done(int result) override;

private:
    // The window's widgets and hidden menu (saleswindowlayout.cpp).
    void buildWindow();
    QWidget* buildProducts();
    QLayout* buildFigures();
    QWidget* buildLegend();
    void buildMenu();
    void openEntry();    // "*"
    void keepKeyboard(); // focus back on the window while the entry is disabled
    void stayOnScreen(); // undoes a minimize or restore from outside
    void setTotal(const QString& text);
    void showFailedTickets();
    void readProducts(); // product names and the product list, read afresh
    void showFesta();

    Database& m_db;
    TillModel& m_till;
    TicketReport& m_ticket;
    ClosingReport& m_closingReport;
    bool m_closing = false;
    QPointer<FestaDesk> m_festa;
    QDateTime m_festaSince;   // when the line started following the desk
    int m_festaCatalogue = 0; // the last catalogue the desk applied while followed
    bool m_festaAlarm = false;
    RowTableModel<Product>* m_products = nullptr; // the named products, as the list shows them

    // Its widgets: other code finds them by their objectName.
private:
    QLineEdit* edt_entrada = nullptr;    // "ENTRADA:" cash handed over
    QLineEdit* edt_troco = nullptr;      // "TROCO:"
    QLineEdit* v_total1 = nullptr;       // "TOTAL:"
    QLabel* lhora = nullptr;             // clock
    RowGrid* DBGrid1 = nullptr;          // products
    SaleGrid* DBGrid2 = nullptr;         // current sale
    QPushButton* SpeedButton1 = nullptr; // "Caderneta"
    QAction* Fechamento1 = nullptr;      // Ctrl+F
    QAction* Parcial1 = nullptr;         // Ctrl+P
    QAction* Sangria1 = nullptr;         // Ctrl+S
    QAction* Reimprimir1 = nullptr;      // Ctrl+R: the tickets the printer did not print, once
    QAction* PainelFesta1 = nullptr;     // F11
    QLabel* l_fichas = nullptr;          // tickets the printer did not print (hidden when none)
    QLabel* l_festa = nullptr;           // the festa's upload (hidden when there is no festa)
};

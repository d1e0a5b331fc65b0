#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QObject;
class DataModule;
class TillModel;
class LoginWindow;
class MainWindow;
class ProductsWindow;
class SalesWindow;
class OpeningDialog;
class CreditBookWindow;
class AccountSheet;
class AccountOpeningDialog;
class AboutDialog;
class ClosingDialog;
class AccountClosingDialog;
class TicketReport;
class ClosingReport;
class OpeningReport;
class TicketTextsDialog;
class PartialView;
class WithdrawalDialog;
class PasswordsWindow;
class AdminPasswordPrompt;
class ClosingPasswordPrompt;
class WithdrawalPasswordPrompt;
class AccountClosingPasswordPrompt;
class ItemRemovalPasswordPrompt;
class ShortcutHelpDialog;
class WithdrawalReceipt;
class ChangeDialog;
class LastTillView;
class LastTillReport;
class HistoryWindow;

// Every window, report and the data module, created once in a fixed order and kept for the whole run.
// Windows reach one another through this one place.
class Forms {
public:
    explicit Forms(const QString& databasePath); // raises an AppError when the database cannot be opened
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    // A fresh account sheet replaces the previous one (which is released) and becomes f_ficha_cad.
    AccountSheet* newSheet();

    // The history of closed tills, made the first time it is asked for.
    HistoryWindow* historico();

    // Ends the program (the login's "Cancelar" and close box, the exit item). The program sets the
    // application's quit; tests see quitRequested.
    void quit();
    bool quitRequested = false;
    std::function<void()> onQuit;

    // Names in the order they were created.
    const QStringList& creationOrder() const { return m_order; }

    LoginWindow* f_login = nullptr;
    MainWindow* f_principal = nullptr;
    ProductsWindow* f_config = nullptr;
    DataModule* dm = nullptr;
    TillModel* till = nullptr; // the open till and the sale in progress
    SalesWindow* f_caixa = nullptr;
    OpeningDialog* f_abertura = nullptr;
    CreditBookWindow* f_caderneta = nullptr;
    AccountSheet* f_ficha_cad = nullptr; // the open account sheet; a new one is made for each opening
    AccountOpeningDialog* f_abrir_ficha = nullptr;
    AboutDialog* f_about = nullptr;
    ClosingDialog* f_fechamento = nullptr;
    AccountClosingDialog* f_conf_fechamento = nullptr;
    TicketReport* qr_fichas = nullptr;
    ClosingReport* qr_fechamento = nullptr;
    OpeningReport* qr_abertura = nullptr;
    TicketTextsDialog* f_confi_impr = nullptr;
    PartialView* f_parcial = nullptr;
    WithdrawalDialog* f_sangria = nullptr;
    PasswordsWindow* f_administracao = nullptr;
    AdminPasswordPrompt* f_s_admin = nullptr;
    ClosingPasswordPrompt* f_s_fechamento = nullptr;
    WithdrawalPasswordPrompt* f_s_sangria = nullptr;
    AccountClosingPasswordPrompt* f_s_caderneta = nullptr;
    ItemRemovalPasswordPrompt* f_s_prodm = nullptr;
    ShortcutHelpDialog* f_atalhos = nullptr;
    WithdrawalReceipt* qr_sangria = nullptr;
    ChangeDialog* f_troco = nullptr;
    LastTillView* f_base = nullptr;
    LastTillReport* qr_impbackup = nullptr;

private:
    template <class T, class... Args> T* make(const char* name, Args&&... args);
    QStringList m_order;
    std::vector<std::shared_ptr<void>> m_owned; // destroyed in reverse order of creation
    std::unique_ptr<AccountSheet> m_sheet;
    std::unique_ptr<TillModel> m_till;
    std::unique_ptr<HistoryWindow> m_historico;
};

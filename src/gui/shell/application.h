#pragma once

#include "core/festa/festasettings.h"
#include "core/settings/userstore.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class DataModule;
class TillModel;
class LoginWindow;
class MainWindow;
class ProductsWindow;
class SalesWindow;
class OpeningDialog;
class CreditBookWindow;
class AccountSheet;
class CreditBookModel;
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
class PasswordPrompt;
class ShortcutHelpDialog;
class WithdrawalReceipt;
class ChangeDialog;
class LastTillView;
class LastTillReport;
class HistoryWindow;
class PrinterSettingsDialog;
class FestaSettingsDialog;
class FestaPanelWindow;
class FestaDesk;
class EscPosPrintSink;
class QWidget;
struct PrinterSettings;

// The program: the data module, the till, the reports and every window, created once in a fixed
// order and kept for the whole run. Each window gets what it works on when it is made; what one window
// asks of another comes here (a signal or a callback) and is wired to the other one. No window knows
// any other.
class Application {
public:
    explicit Application(
        const QString& databasePath); // raises an AppError when the database cannot be opened
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The program's first window: the login.
    void start();

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

    DataModule* dm = nullptr;
    TillModel* till = nullptr;             // the open till and the sale in progress
    CreditBookModel* creditBook = nullptr; // the open sheet's account and its total
    TicketReport* qr_fichas = nullptr;
    ClosingReport* qr_fechamento = nullptr;
    OpeningReport* qr_abertura = nullptr;
    WithdrawalReceipt* qr_sangria = nullptr;
    LastTillReport* qr_impbackup = nullptr;

    LoginWindow* f_login = nullptr;
    MainWindow* f_principal = nullptr;
    ProductsWindow* f_config = nullptr;
    SalesWindow* f_caixa = nullptr;
    OpeningDialog* f_abertura = nullptr;
    CreditBookWindow* f_caderneta = nullptr;
    AccountSheet* f_ficha_cad = nullptr; // the open account sheet; a new one is made for each opening
    AccountOpeningDialog* f_abrir_ficha = nullptr;
    AboutDialog* f_about = nullptr;
    ClosingDialog* f_fechamento = nullptr;
    AccountClosingDialog* f_conf_fechamento = nullptr;
    TicketTextsDialog* f_confi_impr = nullptr;
    PartialView* f_parcial = nullptr;
    WithdrawalDialog* f_sangria = nullptr;
    PasswordsWindow* f_administracao = nullptr;
    PrinterSettingsDialog* f_impressora = nullptr;
    FestaSettingsDialog* f_festa = nullptr;   // this desk in a festa of several desks
    PasswordPrompt* f_s_painel = nullptr;     // before the festa panel changes the catalogue or frees a desk
    PasswordPrompt* f_s_admin = nullptr;      // before the administration panel
    PasswordPrompt* f_s_tesouraria = nullptr; // before the festa panel over the sales screen
    PasswordPrompt* f_s_fechamento = nullptr; // before the till closing
    PasswordPrompt* f_s_sangria = nullptr;    // before a withdrawal
    PasswordPrompt* f_s_caderneta = nullptr;  // before closing the open sheet's account
    PasswordPrompt* f_s_prodm = nullptr;      // before removing an item of the open sheet
    ShortcutHelpDialog* f_atalhos = nullptr;
    ChangeDialog* f_troco = nullptr;
    LastTillView* f_base = nullptr;

    // Tickets and reports go to that printer from now on.
    void usePrinter(const PrinterSettings& settings);
    // This desk reports to that festa server from now on (none: it works alone).
    void useFesta(const std::optional<FestaSettings>& settings);
    // The festa's panel, made at its first use; nullptr (the user told why) without a festa server or
    // the treasurer's password.
    FestaPanelWindow* painel(QWidget* over = nullptr);

private:
    template <class T, class... Args> T* make(const char* name, Args&&... args);
    PasswordPrompt* makePrompt(const char* name, const QString& caption, const QString& column,
                               const QString& labelText, std::function<void()> onAccepted,
                               const QString& editName = QStringLiteral("edt_senha"),
                               const QString& okCaption = QStringLiteral("Entrar"));
    void wire();
    void wireSheet(AccountSheet* sheet);
    void loggedIn();
    void settlePrints();

    QStringList m_order;
    std::vector<std::shared_ptr<void>> m_owned; // destroyed in reverse order of creation
    std::unique_ptr<AccountSheet> m_sheet;
    std::unique_ptr<TillModel> m_till;
    std::unique_ptr<CreditBookModel> m_creditBook;
    std::unique_ptr<HistoryWindow> m_historico;
    // Tickets go straight to an ESC/POS printer when this machine has one configured.
    std::unique_ptr<EscPosPrintSink> m_printer;
    std::unique_ptr<FestaDesk> m_festaDesk;
    std::unique_ptr<FestaPanelWindow> m_painel;
    bool m_adminGiven = false;
    User m_signedIn; // the user who logged in: the row the administration panel edits
    std::vector<std::unique_ptr<EscPosPrintSink>> m_retiredPrinters;
};

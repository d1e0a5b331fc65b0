#include "application.h"

#include "core/creditbook/creditbookmodel.h"
#include "core/db/datamodule.h"
#include "core/desk/desktill.h"
#include "core/festa/festadesk.h"
#include "core/print/escposprinter.h"
#include "core/reports/closingreport.h"
#include "core/reports/lasttillreport.h"
#include "core/reports/openingreport.h"
#include "core/reports/ticketreport.h"
#include "core/reports/withdrawalreceipt.h"
#include "gui/common/messages.h"
#include "gui/common/passwordprompt.h"
#include "gui/common/printsettlement.h"
#include "gui/creditbook/accountclosingdialog.h"
#include "gui/creditbook/accountopeningdialog.h"
#include "gui/creditbook/accountsheet.h"
#include "gui/creditbook/creditbookwindow.h"
#include "gui/festa/festapanelwindow.h"
#include "gui/festa/festasettingsdialog.h"
#include "gui/history/historywindow.h"
#include "gui/sales/changedialog.h"
#include "gui/sales/saleswindow.h"
#include "gui/settings/passwordswindow.h"
#include "gui/settings/printersettingsdialog.h"
#include "gui/settings/productswindow.h"
#include "gui/settings/tickettextsdialog.h"
#include "gui/shell/aboutdialog.h"
#include "gui/shell/loginwindow.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/shortcuthelpdialog.h"
#include "gui/till/closingdialog.h"
#include "gui/till/lasttillview.h"
#include "gui/till/openingdialog.h"
#include "gui/till/partialview.h"
#include "gui/till/withdrawaldialog.h"

#include <QScreen>
#include <QTimer>

template <class T, class... Args> T* Application::make(const char* name, Args&&... args) {
    auto owned = std::make_shared<T>(std::forward<Args>(args)...);
    m_owned.push_back(owned);
    m_order << QLatin1String(name);
    return owned.get();
}

PasswordPrompt* Application::makePrompt(const char* name, const QString& caption, const QString& column,
                                        const QString& labelText, std::function<void()> onAccepted,
                                        const QString& editName, const QString& okCaption) {
    return make<PasswordPrompt>(
        name, dm->database(),
        PasswordPrompt::Design{QLatin1String(name), caption, column, labelText, editName, okCaption},
        std::move(onAccepted));
}

Application::Application(const QString& databasePath) {
    // What the windows work on comes first: the data module, the till and the reports.
    dm = make<DataModule>("dm", databasePath);
    m_till = std::make_unique<DeskTill>(dm->database());
    till = m_till.get();
    m_creditBook = std::make_unique<CreditBookModel>(dm->database());
    creditBook = m_creditBook.get();
    qr_fichas = make<TicketReport>("qr_fichas", dm->q_festa);
    qr_fechamento = make<ClosingReport>("qr_fechamento", dm->q_festa);
    qr_abertura = make<OpeningReport>("qr_abertura", dm->q_festa);
    qr_sangria = make<WithdrawalReceipt>("qr_sangria", dm->q_festa);
    qr_impbackup = make<LastTillReport>("qr_impbackup");

    f_login = make<LoginWindow>("f_login", dm->database(), m_signedIn);
    f_principal = make<MainWindow>("f_principal", *till);
    f_config = make<ProductsWindow>("f_config", dm->database());
    f_caixa = make<SalesWindow>("f_caixa", dm->database(), *till, *qr_fichas, *qr_fechamento);
    f_abertura = make<OpeningDialog>("f_abertura", dm->database(), *till, *qr_abertura);
    f_caderneta = make<CreditBookWindow>("f_caderneta", dm->database(), *creditBook);
    m_sheet = std::make_unique<AccountSheet>(dm->database(), *creditBook);
    f_ficha_cad = m_sheet.get();
    m_order << QStringLiteral("f_ficha_cad");
    f_abrir_ficha = make<AccountOpeningDialog>("f_abrir_ficha", dm->database());
    f_about = make<AboutDialog>("f_about");
    f_fechamento = make<ClosingDialog>("f_fechamento", *till, *qr_fechamento);
    f_conf_fechamento = make<AccountClosingDialog>("f_conf_fechamento", dm->database());
    f_confi_impr = make<TicketTextsDialog>("f_confi_impr", dm->database());
    f_parcial = make<PartialView>("f_parcial", *till);
    f_sangria = make<WithdrawalDialog>("f_sangria", *till, *qr_sangria);
    f_administracao = make<PasswordsWindow>("f_administracao", dm->database(), m_signedIn);
    f_impressora = make<PrinterSettingsDialog>("f_impressora");
    if (const PrinterSettings printer = PrinterSettings::load();
        printer.kind != PrinterSettings::Kind::PrintServer)
        usePrinter(printer);

    const QString admin = QStringLiteral("* Digite a senha do Administrador");
    const QString cashier = QStringLiteral("* Digite a senha do Caixa");
    f_s_admin = makePrompt("f_s_admin", QStringLiteral("Painel do Admin"), QStringLiteral("s_admin"), admin,
                           [this] { f_administracao->showModal(); });
    // A correct password shows the closing; when that window has closed, the prompt closes too.
    f_s_fechamento = makePrompt(
        "f_s_fechamento", QStringLiteral("Fechamento de Caixa"), QStringLiteral("s_caixa"), cashier,
        [this] { f_fechamento->showModal(); }, QStringLiteral("edt_Senha"), QStringLiteral("Fechar"));
    f_s_sangria = makePrompt("f_s_sangria", QStringLiteral("Sangria de Caixa"), QStringLiteral("s_caixa"),
                             cashier, [this] { f_sangria->showModal(); });
    f_s_caderneta = makePrompt("f_s_caderneta", QStringLiteral("Fechar Caderneta"), QStringLiteral("s_admin"),
                               admin, [this] { f_conf_fechamento->showModal(); });
    f_s_prodm = makePrompt("f_s_prodm", QStringLiteral("Excluir Produto Marcado"), QStringLiteral("s_admin"),
                           admin, [this] { f_ficha_cad->removeSelectedItem(); });

    f_atalhos = make<ShortcutHelpDialog>("f_atalhos");
    f_troco = make<ChangeDialog>("f_troco", *till);
    f_base = make<LastTillView>("f_base", dm->database(), *till, *qr_impbackup);
    f_festa = make<FestaSettingsDialog>("f_festa");
    f_s_painel = makePrompt("f_s_painel", QStringLiteral("Painel da Festa"), QStringLiteral("s_admin"), admin,
                            [this] { m_adminGiven = true; });
    f_s_tesouraria = make<PasswordPrompt>(
        "f_s_tesouraria", dm->database(),
        PasswordPrompt::Design{QStringLiteral("f_s_tesouraria"), QStringLiteral("Painel da Festa"), QString(),
                               QStringLiteral("* Digite a senha da tesouraria"), QStringLiteral("edt_senha"),
                               QStringLiteral("Entrar"),
                               [] {
                                   const auto festa = FestaSettings::load();
                                   return festa ? festa->treasurerPassword : QString();
                               }},
        [this] {
            if (FestaPanelWindow* p = painel(f_caixa)) p->showModal();
        });
    wire();
    useFesta(FestaSettings::load());
}

void Application::wire() {
    QObject::connect(f_login, &LoginWindow::loggedIn, f_principal, [this] { loggedIn(); });
    QObject::connect(f_login, &LoginWindow::quitRequested, f_login, [this] { quit(); });

    MainWindow* m = f_principal;
    QObject::connect(m, &MainWindow::quitRequested, m, [this] { quit(); });
    QObject::connect(m, &MainWindow::openingRequested, m, [this] { f_abertura->showModal(); });
    QObject::connect(m, &MainWindow::tillResumed, m, [this] { f_caixa->showModal(); });
    QObject::connect(m, &MainWindow::historyRequested, m, [this] {
        // In a festa of several desks the closed tills of every desk are on the festa server.
        if (const auto festa = FestaSettings::load(); festa && !festa->treasurerPassword.isEmpty()) {
            if (FestaPanelWindow* p = painel()) p->showClosedTills();
            return;
        }
        historico()->showModal();
    });
    QObject::connect(m, &MainWindow::festaPanelRequested, m, [this] {
        if (FestaPanelWindow* p = painel()) p->showModal();
    });
    QObject::connect(m, &MainWindow::creditBookRequested, m, [this] { f_caderneta->showModal(); });
    QObject::connect(m, &MainWindow::productsRequested, m, [this] { f_config->showModal(); });
    QObject::connect(m, &MainWindow::ticketTextsRequested, m, [this] { f_confi_impr->showModal(); });
    QObject::connect(m, &MainWindow::adminRequested, m, [this] { f_s_admin->showModal(); });
    QObject::connect(m, &MainWindow::aboutRequested, m, [this] { f_about->showModal(); });
    QObject::connect(m, &MainWindow::shortcutsRequested, m, [this] { f_atalhos->showModal(); });

    SalesWindow* c = f_caixa;
    QObject::connect(c, &SalesWindow::closingRequested, c, [this](const QString& number) {
        f_fechamento->setTillNumber(number);
        f_s_fechamento->showModal();
    });
    QObject::connect(c, &SalesWindow::partialViewRequested, c, [this] { f_parcial->showModal(); });
    QObject::connect(c, &SalesWindow::withdrawalRequested, c, [this] { f_s_sangria->showModal(); });
    QObject::connect(c, &SalesWindow::creditBookRequested, c, [this] { f_caderneta->showModal(); });
    // Over the sale, behind the treasurer's password: the panel closes with Esc and the sale is as it was.
    QObject::connect(c, &SalesWindow::festaPanelRequested, c, [this] {
        if (painel(f_caixa)) f_s_tesouraria->showModal();
    });
    QObject::connect(c, &SalesWindow::changeRequested, c, [this](const QString& change) {
        f_troco->setChange(change);
        f_troco->showModal();
    });

    QObject::connect(f_abertura, &OpeningDialog::tillOpened, f_abertura, [this] { f_caixa->showModal(); });
    QObject::connect(f_fechamento, &ClosingDialog::tillClosed, f_fechamento,
                     [this] { f_caixa->closeTill(); });

    // the reports print the data module's festa row: read again once the texts are stored
    QObject::connect(f_confi_impr, &TicketTextsDialog::textsSaved, f_confi_impr, [this] {
        dm->q_festa->close();
        dm->q_festa->open();
    });
    QObject::connect(f_caderneta, &CreditBookWindow::accountOpeningRequested, f_caderneta,
                     [this] { f_abrir_ficha->showModal(); });
    QObject::connect(f_caderneta, &CreditBookWindow::sheetRequested, f_caderneta,
                     [this] { newSheet()->showModal(); });
    QObject::connect(f_conf_fechamento, &AccountClosingDialog::accountClosed, f_conf_fechamento,
                     [this] { f_ficha_cad->close(); });
    wireSheet(f_ficha_cad);

    QObject::connect(f_administracao, &PasswordsWindow::lastTillRequested, f_administracao,
                     [this] { f_base->showModal(); });
    QObject::connect(f_administracao, &PasswordsWindow::printerSettingsRequested, f_administracao,
                     [this] { f_impressora->showModal(); });
    QObject::connect(f_impressora, &PrinterSettingsDialog::settingsSaved, f_impressora,
                     [this](const PrinterSettings& s) { usePrinter(s); });
    QObject::connect(f_administracao, &PasswordsWindow::festaSettingsRequested, f_administracao,
                     [this] { f_festa->showModal(); });
    QObject::connect(f_festa, &FestaSettingsDialog::settingsSaved, f_festa,
                     [this](const FestaSettings& s) { useFesta(s); });
    QObject::connect(f_festa, &FestaSettingsDialog::festaLeft, f_festa, [this] { useFesta(std::nullopt); });
}

void Application::wireSheet(AccountSheet* sheet) {
    QObject::connect(sheet, &AccountSheet::itemRemovalRequested, sheet, [this] { f_s_prodm->showModal(); });
    QObject::connect(sheet, &AccountSheet::accountClosingRequested, sheet,
                     [this](const QString& name, const QString& total, const QString& id) {
                         f_conf_fechamento->setAccount(name, total, id);
                         f_s_caderneta->showModal();
                     });
}

void Application::useFesta(const std::optional<FestaSettings>& settings) {
    // A desk of another festa, server or name is a new desk: the old one stops first.
    m_painel.reset();
    f_caixa->setFesta(nullptr);
    f_festa->setFesta(nullptr);
    m_festaDesk.reset();
    f_config->setFestaMode(settings.has_value());
    f_confi_impr->setFestaMode(settings.has_value());
    if (!settings) return;
    m_festaDesk = std::make_unique<FestaDesk>(dm->database(), *till, *settings);
    f_caixa->setFesta(m_festaDesk.get());
    f_festa->setFesta(m_festaDesk.get());
}

FestaPanelWindow* Application::painel(QWidget* over) {
    const std::optional<FestaSettings> settings = FestaSettings::load();
    if (!settings) {
        Messages::plain(over ? over : f_principal,
                        QStringLiteral("Este computador não está em uma festa de várias caixas. "
                                       "Configure o servidor da festa em Administração → Festa."));
        return nullptr;
    }
    if (settings->treasurerPassword.isEmpty()) {
        Messages::plain(over ? over : f_principal,
                        QStringLiteral("Digite a senha da tesouraria em Administração → Festa para "
                                       "abrir o Painel da Festa."));
        return nullptr;
    }
    if (!m_painel)
        m_painel = std::make_unique<FestaPanelWindow>(
            FestaTarget::treasurer(*settings, settings->treasurerPassword), [this] {
                m_adminGiven = false;
                f_s_painel->showModal();
                return m_adminGiven;
            });
    return m_painel.get();
}

void Application::usePrinter(const PrinterSettings& settings) {
    // A sink replaced stays alive: a status question may still be asking it.
    if (m_printer) m_retiredPrinters.push_back(std::move(m_printer));
    if (settings.kind == PrinterSettings::Kind::PrintServer) {
        Printing::setSink(nullptr);
        return;
    }
    m_printer = std::make_unique<EscPosPrintSink>(settings);
    Printing::setSink(m_printer.get());
}

void Application::loggedIn() {
    // fills the screen even where no window manager maximizes it
    f_principal->setGeometry(f_principal->screen()->availableGeometry());
    f_principal->showMaximized();
    QTimer::singleShot(0, f_principal, [this] {
        Messages::guarded(f_principal, [this] {
            settlePrints();
            if (!f_caixa->isVisible()) f_principal->resumeOpenTill();
        });
    });
}

void Application::settlePrints() {
    // Documents the last run sent to the printer without knowing whether they reached it: the printer's
    // side answers where it can, the cashier where it cannot, and each step completes or is dropped.
    settleInDoubt(f_principal, *till);
}

AccountSheet* Application::newSheet() {
    if (m_sheet) m_sheet.release()->deleteLater();
    m_sheet = std::make_unique<AccountSheet>(dm->database(), *creditBook);
    f_ficha_cad = m_sheet.get();
    wireSheet(f_ficha_cad);
    return f_ficha_cad;
}

HistoryWindow* Application::historico() {
    if (!m_historico) m_historico = std::make_unique<HistoryWindow>(dm->database());
    return m_historico.get();
}

void Application::quit() {
    quitRequested = true;
    f_principal->setEnding();
    if (onQuit) onQuit();
}

Application::~Application() {
    m_painel.reset();
    if (f_caixa) f_caixa->setFesta(nullptr);
    m_festaDesk.reset();
    if (m_printer && &Printing::sink() == m_printer.get()) Printing::setSink(nullptr);
    m_historico.reset();
    m_sheet.reset();
    // the windows and reports go before the till they show, the data module after it
    while (!m_owned.empty() && m_owned.back().get() != static_cast<void*>(dm))
        m_owned.pop_back();
    m_creditBook.reset();
    m_till.reset();
    while (!m_owned.empty())
        m_owned.pop_back();
}

void Application::start() {
    f_login->show();
}

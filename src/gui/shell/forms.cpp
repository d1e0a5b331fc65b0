#include "forms.h"

#include "core/db/datamodule.h"
#include "core/reports/closingreport.h"
#include "core/reports/lasttillreport.h"
#include "core/reports/openingreport.h"
#include "core/reports/ticketreport.h"
#include "core/reports/withdrawalreceipt.h"
#include "core/till/tillmodel.h"
#include "gui/creditbook/accountclosingdialog.h"
#include "gui/creditbook/accountclosingpasswordprompt.h"
#include "gui/creditbook/accountopeningdialog.h"
#include "gui/creditbook/accountsheet.h"
#include "gui/creditbook/creditbookwindow.h"
#include "gui/creditbook/itemremovalpasswordprompt.h"
#include "gui/history/historywindow.h"
#include "gui/sales/changedialog.h"
#include "gui/sales/saleswindow.h"
#include "gui/settings/adminpasswordprompt.h"
#include "gui/settings/passwordswindow.h"
#include "gui/settings/productswindow.h"
#include "gui/settings/tickettextsdialog.h"
#include "gui/shell/aboutdialog.h"
#include "gui/shell/loginwindow.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/shortcuthelpdialog.h"
#include "gui/till/closingdialog.h"
#include "gui/till/closingpasswordprompt.h"
#include "gui/till/lasttillview.h"
#include "gui/till/openingdialog.h"
#include "gui/till/partialview.h"
#include "gui/till/withdrawaldialog.h"
#include "gui/till/withdrawalpasswordprompt.h"

template <class T, class... Args> T* Forms::make(const char* name, Args&&... args) {
    auto owned = std::make_shared<T>(std::forward<Args>(args)...);
    m_owned.push_back(owned);
    m_order << QLatin1String(name);
    return owned.get();
}

Forms::Forms(const QString& databasePath) {
    f_login = make<LoginWindow>("f_login", *this);
    f_principal = make<MainWindow>("f_principal", *this);
    f_config = make<ProductsWindow>("f_config", *this);
    dm = make<DataModule>("dm", databasePath);
    m_till = std::make_unique<TillModel>(dm->database());
    till = m_till.get();
    f_config->bindData(); // created before the data module, binds to it now
    f_caixa = make<SalesWindow>("f_caixa", *this);
    f_abertura = make<OpeningDialog>("f_abertura", *this);
    f_caderneta = make<CreditBookWindow>("f_caderneta", *this);
    m_sheet = std::make_unique<AccountSheet>(*this);
    f_ficha_cad = m_sheet.get();
    m_order << QStringLiteral("f_ficha_cad");
    f_abrir_ficha = make<AccountOpeningDialog>("f_abrir_ficha", *this);
    f_about = make<AboutDialog>("f_about", *this);
    f_fechamento = make<ClosingDialog>("f_fechamento", *this);
    f_conf_fechamento = make<AccountClosingDialog>("f_conf_fechamento", *this);
    qr_fichas = make<TicketReport>("qr_fichas", dm->q_festa);
    qr_fechamento = make<ClosingReport>("qr_fechamento", dm->q_festa);
    qr_abertura = make<OpeningReport>("qr_abertura", dm->q_festa);
    f_confi_impr = make<TicketTextsDialog>("f_confi_impr", *this);
    f_parcial = make<PartialView>("f_parcial", *this);
    f_sangria = make<WithdrawalDialog>("f_sangria", *this);
    f_administracao = make<PasswordsWindow>("f_administracao", *this);
    f_s_admin = make<AdminPasswordPrompt>("f_s_admin", *this);
    f_s_fechamento = make<ClosingPasswordPrompt>("f_s_fechamento", *this);
    f_s_sangria = make<WithdrawalPasswordPrompt>("f_s_sangria", *this);
    f_s_caderneta = make<AccountClosingPasswordPrompt>("f_s_caderneta", *this);
    f_s_prodm = make<ItemRemovalPasswordPrompt>("f_s_prodm", *this);
    f_atalhos = make<ShortcutHelpDialog>("f_atalhos", *this);
    qr_sangria = make<WithdrawalReceipt>("qr_sangria", dm->q_festa);
    f_troco = make<ChangeDialog>("f_troco", *this);
    f_base = make<LastTillView>("f_base", *this);
    qr_impbackup = make<LastTillReport>("qr_impbackup");
}

AccountSheet* Forms::newSheet() {
    if (m_sheet) m_sheet.release()->deleteLater();
    m_sheet = std::make_unique<AccountSheet>(*this);
    f_ficha_cad = m_sheet.get();
    return f_ficha_cad;
}

HistoryWindow* Forms::historico() {
    if (!m_historico) m_historico = std::make_unique<HistoryWindow>(*this);
    return m_historico.get();
}

void Forms::quit() {
    quitRequested = true;
    if (onQuit) onQuit();
}

Forms::~Forms() {
    m_historico.reset();
    m_sheet.reset();
    // the windows go before the till they show, the data module after it
    while (!m_owned.empty() && m_owned.back().get() != static_cast<void*>(dm))
        m_owned.pop_back();
    m_till.reset();
    while (!m_owned.empty())
        m_owned.pop_back();
}

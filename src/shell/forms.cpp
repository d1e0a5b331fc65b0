#include "forms.h"

#include "admin/u_administracao.h"
#include "admin/u_confi_impr.h"
#include "admin/u_configuracao.h"
#include "admin/u_s_admin.h"
#include "creditbook/u_abrir_ficha.h"
#include "creditbook/u_caderneta.h"
#include "creditbook/u_conf_fechamento.h"
#include "creditbook/u_ficha_cad.h"
#include "creditbook/u_s_caderneta.h"
#include "creditbook/u_s_prodm.h"
#include "foundation/u_dm.h"
#include "sales/u_caixa.h"
#include "sales/u_qr_fichas.h"
#include "sales/u_troco.h"
#include "shell/u_about.h"
#include "shell/u_atalhos.h"
#include "shell/u_login.h"
#include "shell/u_principal.h"
#include "till/tillmodel.h"
#include "till/u_abertura.h"
#include "till/u_base.h"
#include "till/u_fechamento.h"
#include "till/u_parcial.h"
#include "till/u_qr_abertura.h"
#include "till/u_qr_fechamento.h"
#include "till/u_qr_imprbakcup.h"
#include "till/u_qr_sangria.h"
#include "till/u_s_caixa.h"
#include "till/u_s_sangria.h"
#include "till/u_sangria.h"

template <class T, class... Args> T* Forms::make(const char* name, Args&&... args) {
    auto owned = std::make_shared<T>(std::forward<Args>(args)...);
    m_owned.push_back(owned);
    m_order << QLatin1String(name);
    return owned.get();
}

Forms::Forms(const QString& databasePath) {
    f_login = make<Tf_login>("f_login", *this);
    f_principal = make<Tf_principal>("f_principal", *this);
    f_config = make<Tf_config>("f_config", *this);
    dm = make<Tdm>("dm", databasePath);
    m_till = std::make_unique<TillModel>(dm->database());
    till = m_till.get();
    f_config->bindData(); // created before the data module, binds to it now
    f_caixa = make<Tf_caixa>("f_caixa", *this);
    f_abertura = make<Tf_abertura>("f_abertura", *this);
    f_caderneta = make<Tf_caderneta>("f_caderneta", *this);
    m_sheet = std::make_unique<Tf_ficha_cad>(*this);
    f_ficha_cad = m_sheet.get();
    m_order << QStringLiteral("f_ficha_cad");
    f_abrir_ficha = make<Tf_abrir_ficha>("f_abrir_ficha", *this);
    f_about = make<Tf_about>("f_about", *this);
    f_fechamento = make<Tf_fechamento>("f_fechamento", *this);
    f_conf_fechamento = make<Tf_conf_fechamento>("f_conf_fechamento", *this);
    qr_fichas = make<Tqr_fichas>("qr_fichas", *this);
    qr_fechamento = make<Tqr_fechamento>("qr_fechamento", *this);
    qr_abertura = make<Tqr_abertura>("qr_abertura", *this);
    f_confi_impr = make<Tf_confi_impr>("f_confi_impr", *this);
    f_parcial = make<Tf_parcial>("f_parcial", *this);
    f_sangria = make<Tf_sangria>("f_sangria", *this);
    f_administracao = make<Tf_administracao>("f_administracao", *this);
    f_s_admin = make<Tf_s_admin>("f_s_admin", *this);
    f_s_fechamento = make<Tf_s_fechamento>("f_s_fechamento", *this);
    f_s_sangria = make<Tf_s_sangria>("f_s_sangria", *this);
    f_s_caderneta = make<Tf_s_caderneta>("f_s_caderneta", *this);
    f_s_prodm = make<Tf_s_prodm>("f_s_prodm", *this);
    f_atalhos = make<Tf_atalhos>("f_atalhos", *this);
    qr_sangria = make<Tqr_sangria>("qr_sangria", *this);
    f_troco = make<Tf_troco>("f_troco", *this);
    f_base = make<Tf_base>("f_base", *this);
    qr_impbackup = make<Tqr_impbackup>("qr_impbackup", *this);
}

Tf_ficha_cad* Forms::newSheet() {
    if (m_sheet) m_sheet.release()->deleteLater();
    m_sheet = std::make_unique<Tf_ficha_cad>(*this);
    f_ficha_cad = m_sheet.get();
    return f_ficha_cad;
}

void Forms::quit() {
    quitRequested = true;
    if (onQuit) onQuit();
}

Forms::~Forms() {
    m_sheet.reset();
    // the windows go before the till they show, the data module after it
    while (!m_owned.empty() && m_owned.back().get() != static_cast<void*>(dm))
        m_owned.pop_back();
    m_till.reset();
    while (!m_owned.empty())
        m_owned.pop_back();
}

#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QObject;
class Tdm;
class TillModel;
class Tf_login;
class Tf_principal;
class Tf_config;
class Tf_caixa;
class Tf_abertura;
class Tf_caderneta;
class Tf_ficha_cad;
class Tf_abrir_ficha;
class Tf_about;
class Tf_fechamento;
class Tf_conf_fechamento;
class Tqr_fichas;
class Tqr_fechamento;
class Tqr_abertura;
class Tf_confi_impr;
class Tf_parcial;
class Tf_sangria;
class Tf_administracao;
class Tf_s_admin;
class Tf_s_fechamento;
class Tf_s_sangria;
class Tf_s_caderneta;
class Tf_s_prodm;
class Tf_atalhos;
class Tqr_sangria;
class Tf_troco;
class Tf_base;
class Tqr_impbackup;

// Every window, report and the data module, created once in a fixed order and kept for the whole run.
// Windows reach one another through this one place.
class Forms {
public:
    explicit Forms(const QString& databasePath); // raises an AppError when the database cannot be opened
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    // A fresh account sheet replaces the previous one (which is released) and becomes f_ficha_cad.
    Tf_ficha_cad* newSheet();

    // Ends the program (the login's "Cancelar" and close box, the exit item). The program sets the
    // application's quit; tests see quitRequested.
    void quit();
    bool quitRequested = false;
    std::function<void()> onQuit;

    // Names in the order they were created.
    const QStringList& creationOrder() const { return m_order; }

    Tf_login* f_login = nullptr;
    Tf_principal* f_principal = nullptr;
    Tf_config* f_config = nullptr;
    Tdm* dm = nullptr;
    TillModel* till = nullptr; // the open till and the sale in progress
    Tf_caixa* f_caixa = nullptr;
    Tf_abertura* f_abertura = nullptr;
    Tf_caderneta* f_caderneta = nullptr;
    Tf_ficha_cad* f_ficha_cad = nullptr; // the open account sheet; a new one is made for each opening
    Tf_abrir_ficha* f_abrir_ficha = nullptr;
    Tf_about* f_about = nullptr;
    Tf_fechamento* f_fechamento = nullptr;
    Tf_conf_fechamento* f_conf_fechamento = nullptr;
    Tqr_fichas* qr_fichas = nullptr;
    Tqr_fechamento* qr_fechamento = nullptr;
    Tqr_abertura* qr_abertura = nullptr;
    Tf_confi_impr* f_confi_impr = nullptr;
    Tf_parcial* f_parcial = nullptr;
    Tf_sangria* f_sangria = nullptr;
    Tf_administracao* f_administracao = nullptr;
    Tf_s_admin* f_s_admin = nullptr;
    Tf_s_fechamento* f_s_fechamento = nullptr;
    Tf_s_sangria* f_s_sangria = nullptr;
    Tf_s_caderneta* f_s_caderneta = nullptr;
    Tf_s_prodm* f_s_prodm = nullptr;
    Tf_atalhos* f_atalhos = nullptr;
    Tqr_sangria* qr_sangria = nullptr;
    Tf_troco* f_troco = nullptr;
    Tf_base* f_base = nullptr;
    Tqr_impbackup* qr_impbackup = nullptr;

private:
    template <class T, class... Args> T* make(const char* name, Args&&... args);
    QStringList m_order;
    std::vector<std::shared_ptr<void>> m_owned; // destroyed in reverse order of creation
    std::unique_ptr<Tf_ficha_cad> m_sheet;
    std::unique_ptr<TillModel> m_till;
};

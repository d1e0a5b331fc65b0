#include "passwordswindow.h"

#include "core/settings/passwordstore.h"
#include "core/settings/userstore.h"
#include "gui/common/fieldwidth.h"
#include "gui/common/keyfilter.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

PasswordsWindow::PasswordsWindow(Database& db, User& signedIn)
    : Form(QStringLiteral("f_administracao"), QStringLiteral("Administração de Senhas")), m_db(db),
      m_user(signedIn) {
    setFixedDialog(440, 430);
    auto field = [&](const char* name, const char* table, const char* column) {
        QLineEdit* e = lineEdit(QLatin1String(name));
        limitToColumn(e, db, QLatin1String(table), QLatin1String(column));
        return e;
    };
    DBEdit1 = field("DBEdit1", "tbl_senhas", "s_caixa");
    KeyFilter::password(DBEdit1);
    DBEdit2 = field("DBEdit2", "tbl_senhas", "s_admin");
    KeyFilter::password(DBEdit2);
    DBEdit3 = field("DBEdit3", "tbl_adm", "usuario");
    KeyFilter::upperCase(DBEdit3);
    DBEdit4 = field("DBEdit4", "tbl_adm", "senha");
    KeyFilter::password(DBEdit4);
    for (QLineEdit* e : {DBEdit3, DBEdit4})
        connect(e, &QLineEdit::textEdited, this, [this] { m_userTyped = true; });

    SpeedButton1 = speedButton(QStringLiteral("SpeedButton1"), QStringLiteral("Salvar"),
                               [this] { SpeedButton1Click(); });
    SpeedButton2 = speedButton(QStringLiteral("SpeedButton2"), QStringLiteral("Salvar"),
                               [this] { SpeedButton2Click(); });
    SpeedButton4 = speedButton(QStringLiteral("SpeedButton4"), QStringLiteral("Salvar"),
                               [this] { SpeedButton4Click(); });
    SpeedButton3 =
        speedButton(QStringLiteral("SpeedButton3"), QStringLiteral("OK"), [this] { SpeedButton3Click(); });
    SpeedButton3->setMinimumWidth(90);

    GroupBox1 = new QGroupBox(QStringLiteral("Imprimir Backup do Último Caixa"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setStyleSheet(QStringLiteral("QGroupBox { color: maroon; font-weight: bold; }"));
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                              QStringLiteral("Último Caixa"), GroupBox1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    BitBtn1->setStyleSheet(QStringLiteral("color: navy; font-weight: bold;"));
    BitBtn1->setMinimumHeight(32);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { guard([this] { BitBtn1Click(); }); });
    auto* backup = new QHBoxLayout(GroupBox1);
    backup->addStretch();
    backup->addWidget(BitBtn1);
    backup->addStretch();

    auto row = [](QWidget* edit, QWidget* button) {
        auto* h = new QHBoxLayout;
        h->addWidget(edit, 1);
        h->addWidget(button);
        return h;
    };
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    layout->addWidget(label(QStringLiteral("Label2"),
                            QStringLiteral("* Defina aqui a senha para Sangria e Fechamento do Caixa"),
                            true));
    layout->addLayout(row(DBEdit1, SpeedButton1));
    layout->addSpacing(10);
    layout->addWidget(
        label(QStringLiteral("Label1"), QStringLiteral("* Defina aqui a senha do Administrador"), true));
    layout->addLayout(row(DBEdit2, SpeedButton2));
    layout->addWidget(
        label(QStringLiteral("Label3"), QStringLiteral("* Guarde bem a senha do administrador! "), true));
    layout->addWidget(label(QStringLiteral("Label4"),
                            QStringLiteral("Sem ela você não terá mais acesso a este painel."), true));
    layout->addSpacing(10);
    layout->addWidget(
        label(QStringLiteral("Label5"), QStringLiteral("* Usuário e Senha de Acesso ao Sistema"), true));
    auto* login = new QGridLayout;
    login->addWidget(label(QStringLiteral("Label7"), QStringLiteral("Usuário"), true), 0, 0);
    login->addWidget(label(QStringLiteral("Label6"), QStringLiteral("Senha"), true), 0, 1);
    login->addWidget(DBEdit3, 1, 0);
    login->addWidget(DBEdit4, 1, 1);
    login->addWidget(SpeedButton4, 1, 2);
    layout->addLayout(login);
    layout->addSpacing(10);
    layout->addWidget(GroupBox1);
    layout->addStretch();
    bt_impressora = speedButton(QStringLiteral("bt_impressora"), QStringLiteral("Impressora das Fichas..."),
                                [this] { emit printerSettingsRequested(); });
    bt_festa = speedButton(QStringLiteral("bt_festa"), QStringLiteral("Festa..."),
                           [this] { emit festaSettingsRequested(); });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(bt_impressora);
    bottom->addWidget(bt_festa);
    bottom->addStretch();
    bottom->addWidget(SpeedButton3);
    layout->addLayout(bottom);

    setTabOrder(DBEdit1, DBEdit2);
    setTabOrder(DBEdit2, DBEdit3);
    setTabOrder(DBEdit3, DBEdit4);
    setTabOrder(DBEdit4, BitBtn1);
    setTabOrder(BitBtn1, bt_impressora);
    setTabOrder(bt_impressora, bt_festa);
}

void PasswordsWindow::FormShow() {
    // The passwords as stored: typing not stored was dropped by "OK" or the close box. The user's
    // entries keep what was typed and not stored, until their "Salvar".
    const Passwords stored = PasswordStore::passwords(m_db);
    DBEdit1->setText(stored.till);
    DBEdit2->setText(stored.admin);
    if (m_userTyped) return;
    if (m_user.row < 0) // nobody logged in yet: the first user
        if (const std::optional<User> first = UserStore::first(m_db)) m_user = *first;
    DBEdit3->setText(m_user.name);
    DBEdit4->setText(m_user.password);
}

void PasswordsWindow::storePasswords(const QString& message) {
    // both passwords, typed or not, whichever "Salvar" is pressed
    PasswordStore::save(m_db, Passwords{DBEdit1->text(), DBEdit2->text()});
    Messages::plain(this, message);
}

void PasswordsWindow::SpeedButton1Click() {
    storePasswords(QStringLiteral("Senha do Caixa Alterada"));
}

void PasswordsWindow::SpeedButton2Click() {
    storePasswords(QStringLiteral("Senha do Administrador Alterada"));
}

void PasswordsWindow::SpeedButton4Click() {
    User typed = m_user;
    typed.name = DBEdit3->text();
    typed.password = DBEdit4->text();
    UserStore::save(m_db, typed);
    m_user = typed;
    m_userTyped = false;
    Messages::plain(this, QStringLiteral("Dados de Acesso Alterados!"));
}

void PasswordsWindow::SpeedButton3Click() {
    accept(); // the passwords typed and not stored are dropped: the next showing reads them again
}

void PasswordsWindow::BitBtn1Click() {
    emit lastTillRequested();
}

#include "loginwindow.h"

#include "core/settings/userstore.h"
#include "gui/common/keyfilter.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

LoginWindow::LoginWindow(Database& db, User& signedIn)
    : Form(QStringLiteral("f_login"), QStringLiteral("Login - Quorvanta 2.0")), m_db(db),
      m_signedIn(signedIn) {
    setModal(false);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(430, 210);

    auto* heading = label(QStringLiteral("Label3"), QStringLiteral("Quorvanta 3.0"), true);
    QFont hf = heading->font();
    hf.setPointSize(16);
    heading->setFont(hf);

    edt_usuario = lineEdit(QStringLiteral("edt_usuario"));
    KeyFilter::upperCase(edt_usuario);
    edt_senha = lineEdit(QStringLiteral("edt_senha"));
    KeyFilter::password(edt_senha);

    SpeedButton1 = speedButton(QStringLiteral("SpeedButton1"), QStringLiteral("Cancelar"),
                               [this] { emit quitRequested(); });
    bt_login =
        speedButton(QStringLiteral("bt_login"), QStringLiteral("Acessar"), [this] { bt_loginClick(); });

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(QIcon(QStringLiteral(":/resources/quorvanta.png")).pixmap(110, 110));

    auto* fields = new QGridLayout;
    fields->addWidget(heading, 0, 0, 1, 2);
    fields->addWidget(label(QStringLiteral("Label1"), QStringLiteral("Usuário"), true), 1, 0);
    fields->addWidget(edt_usuario, 1, 1);
    fields->addWidget(label(QStringLiteral("Label2"), QStringLiteral("Senha"), true), 2, 0);
    fields->addWidget(edt_senha, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SpeedButton1);
    buttons->addWidget(bt_login);
    fields->addLayout(buttons, 3, 0, 1, 2);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addWidget(picture);

    setTabOrder(edt_usuario, edt_senha);
    connect(edt_usuario, &QLineEdit::returnPressed, edt_senha, [this] { edt_senha->setFocus(); });
    connect(edt_senha, &QLineEdit::returnPressed, this, [this] { guard([this] { bt_loginClick(); }); });
    edt_usuario->setFocus();
}

void LoginWindow::bt_loginClick() {
    std::optional<User> user;
    try {
        user = UserStore::find(m_db, edt_usuario->text());
    } catch (...) {
        // the password is typed again from the start, as after a refusal
        edt_senha->clear();
        edt_senha->setFocus(Qt::OtherFocusReason);
        throw;
    }
    if (edt_senha->text().isEmpty() || edt_usuario->text().isEmpty()) {
        Messages::warning(this, QStringLiteral("Preencha o Campo Usuário e Senha"));
        return;
    }
    if (user && edt_senha->text() == user->password && edt_usuario->text() == user->name) {
        m_signedIn = *user;
        edt_senha->clear();
        emit loggedIn();
        hide();
        return;
    }
    Messages::warning(this, QStringLiteral("Usuário ou Senha inválido"));
    edt_senha->clear();
    edt_usuario->clear();
    edt_usuario->setFocus();
}

void LoginWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit quitRequested();
}

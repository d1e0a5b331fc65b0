#include "adminsupport.h"

#include "gui/common/passwordprompt.h"
#include "gui/settings/passwordswindow.h"
#include "gui/shell/loginwindow.h"

#include <QLineEdit>
#include <QPushButton>

using namespace TestSupport;
using namespace AdminSupport;

class TestPasswords : public QObject {
    Q_OBJECT
    std::unique_ptr<App> app;

    QString promptShowed; // what the prompt's field showed before Enter

    PasswordPrompt* prompt() const { return app->app->f_s_admin; }
    PasswordsWindow* panel() const { return app->app->f_administracao; }
    QString senhas(const QString& column) const {
        return app->db.scalar(QStringLiteral("select %1 from tbl_senhas").arg(column));
    }

    // F7, types `password` and Enter in the prompt, then cancels the prompt if it is still up.
    // With `steps` the panel is expected and they run in it; without, the panel must not show.
    // Returns whether the panel showed.
    bool throughPrompt(const QString& password, std::function<void()> steps = {}) {
        bool panelShown = false;
        promptShowed.clear();
        RejectOnShow unexpected;
        if (steps) {
            whenModal(QStringLiteral("f_administracao"), [&, steps](QWidget*) {
                panelShown = true;
                steps();
                if (panel()->isVisible()) panel()->reject();
            });
        } else {
            panel()->installEventFilter(&unexpected);
        }
        whenModal(QStringLiteral("f_s_admin"), [&, password](QWidget*) {
            type(child<QLineEdit>(prompt(), QStringLiteral("edt_senha")), password);
            promptShowed = child<QLineEdit>(prompt(), QStringLiteral("edt_senha"))->displayText();
            key(child<QLineEdit>(prompt(), QStringLiteral("edt_senha")), Qt::Key_Return);
            if (prompt()->isVisible()) click(child<QPushButton>(prompt(), QStringLiteral("SpeedButton2")));
        });
        menuKey(*app, Qt::Key_F7);
        return panelShown || unexpected.shown;
    }

    // Closes a window as soon as it shows; records that it did.
    struct RejectOnShow : QObject {
        bool shown = false;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Show) {
                shown = true;
                auto* dialog = static_cast<QDialog*>(watched);
                QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
            }
            return false;
        }
    };

private slots:
    void init() { app = std::make_unique<App>(); }
    void cleanup() { app.reset(); }

    void oneSalvarStoresBothPasswordsInCapitals() {
        QVERIFY(throughPrompt(QStringLiteral("ADMIN"), [&] {
            QCOMPARE(panel()->windowTitle(), QStringLiteral("Administração de Senhas"));
            QCOMPARE(child<QLineEdit>(panel(), QStringLiteral("DBEdit1"))->echoMode(), QLineEdit::Password);
            QCOMPARE(child<QLineEdit>(panel(), QStringLiteral("DBEdit1"))->displayText(),
                     QStringLiteral("******"));
            retype(child<QLineEdit>(panel(), QStringLiteral("DBEdit1")), QStringLiteral("caixa2"));
            retype(child<QLineEdit>(panel(), QStringLiteral("DBEdit2")), QStringLiteral("chefe"));
            click(child<QPushButton>(panel(), QStringLiteral("SpeedButton1")));
            QCOMPARE(app->messages.texts(), QStringList{QStringLiteral("Senha do Caixa Alterada")});
            QVERIFY(panel()->isVisible()); // the panel stays open
            click(child<QPushButton>(panel(), QStringLiteral("SpeedButton3")));
        }));
        QCOMPARE(senhas("s_caixa"), QStringLiteral("CAIXA2"));
        QCOMPARE(senhas("s_admin"), QStringLiteral("CHEFE"));
    }

    void aNewAdministratorPasswordIsTheOnlyOneAccepted() {
        QVERIFY(throughPrompt(QStringLiteral("ADMIN"), [&] {
            retype(child<QLineEdit>(panel(), QStringLiteral("DBEdit2")), QStringLiteral("nova"));
            click(child<QPushButton>(panel(), QStringLiteral("SpeedButton2")));
            QCOMPARE(app->messages.texts(), QStringList{QStringLiteral("Senha do Administrador Alterada")});
            click(child<QPushButton>(panel(), QStringLiteral("SpeedButton3")));
        }));
        app->messages.clear();
        QVERIFY(!throughPrompt(QStringLiteral("ADMIN")));
        QCOMPARE(app->messages.texts(), QStringList{QStringLiteral("Senha inválida!")});
        QCOMPARE(app->messages.messages[0].caption, QStringLiteral("ATENÇÃO!"));
        QVERIFY(throughPrompt(QStringLiteral("nova"), [] {})); // typed small, matches in capitals
        QCOMPARE(promptShowed, QStringLiteral("****"));
    }

    void anEmptyAdministratorPasswordLocksThePanel() {
        QVERIFY(throughPrompt(QStringLiteral("ADMIN"), [&] {
            retype(child<QLineEdit>(panel(), QStringLiteral("DBEdit2")), QString());
            click(child<QPushButton>(panel(), QStringLiteral("SpeedButton2")));
            click(child<QPushButton>(panel(), QStringLiteral("SpeedButton3")));
        }));
        QCOMPARE(senhas("s_admin"), QString());
        app->messages.clear();
        QVERIFY(!throughPrompt(QString()));
        QVERIFY(!throughPrompt(QStringLiteral("ADMIN")));
        QCOMPARE(app->messages.texts(),
                 (QStringList{QStringLiteral("Preencha o Campo Senha"), QStringLiteral("Senha inválida!")}));
    }

    void aChangedLoginWorksAtTheNextLoginCheck() {
        LoginWindow* login = app->app->f_login;
        type(child<QLineEdit>(login, QStringLiteral("edt_usuario")), QStringLiteral("caixa"));
        type(child<QLineEdit>(login, QStringLiteral("edt_senha")), QStringLiteral("1234"));
        login->bt_loginClick();
        QVERIFY(app->messages.messages.isEmpty());
        QVERIFY(throughPrompt(QStringLiteral("ADMIN"), [&] {
            QCOMPARE(child<QLineEdit>(panel(), QStringLiteral("DBEdit3"))->text(), QStringLiteral("CAIXA"));
            QCOMPARE(child<QLineEdit>(panel(), QStringLiteral("DBEdit3"))->echoMode(), QLineEdit::Normal);
            retype(child<QLineEdit>(panel(), QStringLiteral("DBEdit3")), QStringLiteral("joao"));
            retype(child<QLineEdit>(panel(), QStringLiteral("DBEdit4")), QStringLiteral("x9"));
            click(child<QPushButton>(panel(), QStringLiteral("SpeedButton4")));
            QCOMPARE(app->messages.texts(), QStringList{QStringLiteral("Dados de Acesso Alterados!")});
            click(child<QPushButton>(panel(), QStringLiteral("SpeedButton3")));
        }));
        QCOMPARE(app->db.rows("select usuario, senha from tbl_adm"),
                 (QList<QStringList>{{QStringLiteral("JOAO"), QStringLiteral("X9")}}));
        app->messages.clear();
        for (const auto& [user, password] : {std::pair{"caixa", "1234"}, std::pair{"joao", "x9"}}) {
            type(child<QLineEdit>(login, QStringLiteral("edt_usuario")), QLatin1String(user));
            type(child<QLineEdit>(login, QStringLiteral("edt_senha")), QLatin1String(password));
            login->bt_loginClick();
        }
        QCOMPARE(app->messages.texts(), QStringList{QStringLiteral("Usuário ou Senha inválido")});
        QVERIFY(child<QLineEdit>(login, QStringLiteral("edt_senha"))
                    ->text()
                    .isEmpty()); // emptied on the correct login
    }

    // With several users the panel edits the one who logged in, whatever the order of the rows.
    void thePanelEditsTheUserWhoLoggedIn() {
        app->db.exec(QStringLiteral("insert into tbl_adm (usuario, senha) values ('ZE', '77')"));
        LoginWindow* login = app->app->f_login;
        type(child<QLineEdit>(login, QStringLiteral("edt_usuario")), QStringLiteral("ze"));
        type(child<QLineEdit>(login, QStringLiteral("edt_senha")), QStringLiteral("77"));
        login->bt_loginClick();
        QVERIFY(throughPrompt(QStringLiteral("ADMIN"), [&] {
            QCOMPARE(child<QLineEdit>(panel(), QStringLiteral("DBEdit3"))->text(), QStringLiteral("ZE"));
            retype(child<QLineEdit>(panel(), QStringLiteral("DBEdit4")), QStringLiteral("88"));
            click(child<QPushButton>(panel(), QStringLiteral("SpeedButton4")));
            click(child<QPushButton>(panel(), QStringLiteral("SpeedButton3")));
        }));
        QCOMPARE(app->db.rows("select usuario, senha from tbl_adm order by rowid"),
                 (QList<QStringList>{{QStringLiteral("CAIXA"), QStringLiteral("1234")},
                                     {QStringLiteral("ZE"), QStringLiteral("88")}}));
    }

    void okAndTheCloseBoxDiscardTypedPasswords() {
        QVERIFY(throughPrompt(QStringLiteral("ADMIN"), [&] {
            retype(child<QLineEdit>(panel(), QStringLiteral("DBEdit1")), QStringLiteral("nao gravada"));
            click(child<QPushButton>(panel(), QStringLiteral("SpeedButton3")));
        }));
        QVERIFY(throughPrompt(QStringLiteral("ADMIN"), [&] {
            QCOMPARE(child<QLineEdit>(panel(), QStringLiteral("DBEdit1"))->text(), QStringLiteral("574913"));
            retype(child<QLineEdit>(panel(), QStringLiteral("DBEdit2")), QStringLiteral("nao gravada"));
            panel()->close();
        }));
        // the next showing shows the stored passwords; the user's entries keep what was typed
        QVERIFY(throughPrompt(QStringLiteral("ADMIN"), [&] {
            QCOMPARE(child<QLineEdit>(panel(), QStringLiteral("DBEdit2"))->text(), QStringLiteral("ADMIN"));
            retype(child<QLineEdit>(panel(), QStringLiteral("DBEdit3")), QStringLiteral("pendente"));
            click(child<QPushButton>(panel(), QStringLiteral("SpeedButton3")));
        }));
        QVERIFY(throughPrompt(QStringLiteral("ADMIN"), [&] {
            QCOMPARE(child<QLineEdit>(panel(), QStringLiteral("DBEdit3"))->text(),
                     QStringLiteral("PENDENTE"));
            click(child<QPushButton>(panel(), QStringLiteral("SpeedButton3")));
        }));
        QCOMPARE(app->db.scalar("select usuario from tbl_adm"), QStringLiteral("CAIXA"));
        QCOMPARE(senhas("s_caixa"), QStringLiteral("574913"));
        QCOMPARE(senhas("s_admin"), QStringLiteral("ADMIN"));
    }

    void ultimoCaixaShowsTheLastTillBackup() {
        bool backupShown = false;
        QVERIFY(throughPrompt(QStringLiteral("ADMIN"), [&] {
            whenModal(QStringLiteral("f_base"), [&](QWidget* w) {
                backupShown = true;
                w->close();
            });
            click(child<QPushButton>(panel(), QStringLiteral("BitBtn1")));
            QVERIFY(panel()->isVisible());
            click(child<QPushButton>(panel(), QStringLiteral("SpeedButton3")));
        }));
        QVERIFY(backupShown);
    }

    // After an error in the check the field is empty and keeps the focus: the password is typed anew,
    // not after what was typed before.
    void anErrorEmptiesThePasswordField() {
        app->db.exec(QStringLiteral("alter table tbl_senhas rename to tbl_senhas_fora"));
        bool panelShown = false;
        whenModal(QStringLiteral("f_administracao"), [&](QWidget*) {
            panelShown = true;
            panel()->reject();
        });
        whenModal(QStringLiteral("f_s_admin"), [&](QWidget*) {
            type(child<QLineEdit>(prompt(), QStringLiteral("edt_senha")), QStringLiteral("ADMIN"));
            key(child<QLineEdit>(prompt(), QStringLiteral("edt_senha")), Qt::Key_Return);
            QCOMPARE(app->messages.messages.size(), 1);
            QCOMPARE(app->messages.messages.first().kind, Messages::Kind::Error);
            QVERIFY(prompt()->isVisible());
            QCOMPARE(child<QLineEdit>(prompt(), QStringLiteral("edt_senha"))->text(), QString());
            QTRY_COMPARE(QApplication::focusWidget(),
                         child<QLineEdit>(prompt(), QStringLiteral("edt_senha")));
            app->db.exec(QStringLiteral("alter table tbl_senhas_fora rename to tbl_senhas"));
            type(child<QLineEdit>(prompt(), QStringLiteral("edt_senha")), QStringLiteral("ADMIN"));
            key(child<QLineEdit>(prompt(), QStringLiteral("edt_senha")), Qt::Key_Return);
        });
        menuKey(*app, Qt::Key_F7);
        QVERIFY(panelShown);
        QCOMPARE(app->messages.messages.size(), 1);
    }
};

QUORVANTA_TEST_MAIN(TestPasswords)
#include "tst_passwordswindow.moc"

#include "gui/settings/passwordswindow.h"
#include "gui/shell/application.h"
#include "gui/shell/loginwindow.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/startup.h"
#include "support/testsupport.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

using namespace TestSupport;

class TestShell : public QObject {
    Q_OBJECT

    static void login(App& app, const QString& user, const QString& password) {
        LoginWindow* l = app.app->f_login;
        l->show();
        type(child<QLineEdit>(l, QStringLiteral("edt_usuario")), user);
        type(child<QLineEdit>(l, QStringLiteral("edt_senha")), password);
    }

private slots:
    void createsEveryWindowInOrder() {
        App app;
        QCOMPARE(app.app->creationOrder(),
                 QStringList({"dm",           "qr_fichas",         "qr_fechamento",
                              "qr_abertura",  "qr_sangria",        "qr_impbackup",
                              "f_login",      "f_principal",       "f_config",
                              "f_caixa",      "f_abertura",        "f_caderneta",
                              "f_ficha_cad",  "f_abrir_ficha",     "f_about",
                              "f_fechamento", "f_conf_fechamento", "f_confi_impr",
                              "f_parcial",    "f_sangria",         "f_administracao",
                              "f_impressora", "f_s_admin",         "f_s_fechamento",
                              "f_s_sangria",  "f_s_caderneta",     "f_s_prodm",
                              "f_atalhos",    "f_troco",           "f_base",
                              "f_festa",      "f_s_painel",        "f_s_tesouraria"}));
    }

    void missingDatabaseShowsTheErrorAndEnds() {
        MessageRecorder messages;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("base.db"));
        QCOMPARE(runProgram(path), 1);
        QCOMPARE(messages.messages.size(), 1);
        QVERIFY(messages.last().contains(path));
        QVERIFY(!QFile::exists(path)); // never creates an empty database
    }

    void deliveredUserLogsIn() {
        App app;
        login(app, QStringLiteral("caixa"), QStringLiteral("1234")); // typed in small letters
        LoginWindow* l = app.app->f_login;
        QCOMPARE(child<QLineEdit>(l, QStringLiteral("edt_usuario"))->text(), QStringLiteral("CAIXA"));
        QCOMPARE(child<QLineEdit>(l, QStringLiteral("edt_senha"))->echoMode(), QLineEdit::Password);
        QTest::mouseClick(child<QPushButton>(l, QStringLiteral("bt_login")), Qt::LeftButton);
        QVERIFY(app.messages.messages.isEmpty());
        QVERIFY(app.app->f_principal->isVisible());
        QVERIFY(!l->isVisible());
        QVERIFY(child<QLineEdit>(l, QStringLiteral("edt_senha"))->text().isEmpty());
        QCOMPARE(app.app->f_principal->windowTitle(), QStringLiteral("Quorvanta 3.0"));
        // the administration panel edits the row of the user who logged in
        app.app->f_administracao->show();
        QCOMPARE(child<QLineEdit>(app.app->f_administracao, QStringLiteral("DBEdit3"))->text(),
                 QStringLiteral("CAIXA"));
        app.app->f_administracao->hide();
        app.app->f_principal->hide();
    }

    void enterInThePasswordFieldLogsIn() {
        App app;
        login(app, QStringLiteral("CAIXA"), QStringLiteral("1234"));
        key(child<QLineEdit>(app.app->f_login, QStringLiteral("edt_senha")), Qt::Key_Return);
        QVERIFY(app.app->f_principal->isVisible());
        app.app->f_principal->hide();
    }

    void enterInTheUserFieldMovesToThePassword() {
        App app;
        LoginWindow* l = app.app->f_login;
        l->show();
        QVERIFY(QTest::qWaitForWindowActive(l));
        child<QLineEdit>(l, QStringLiteral("edt_usuario"))->setFocus();
        key(child<QLineEdit>(l, QStringLiteral("edt_usuario")), Qt::Key_Return);
        QTRY_VERIFY(child<QLineEdit>(l, QStringLiteral("edt_senha"))->hasFocus());
        QVERIFY(app.messages.messages.isEmpty());
    }

    void refusesEmptyFieldsBeforeComparing_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::newRow("both empty") << ""
                                    << "";
        QTest::newRow("no password") << "CAIXA"
                                     << "";
        QTest::newRow("no user") << ""
                                 << "1234";
    }
    void refusesEmptyFieldsBeforeComparing() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        App app;
        login(app, user, password);
        QTest::mouseClick(child<QPushButton>(app.app->f_login, QStringLiteral("bt_login")), Qt::LeftButton);
        QCOMPARE(app.messages.texts(), QStringList({"Preencha o Campo Usuário e Senha"}));
        QCOMPARE(app.messages.messages.first().caption, QStringLiteral("ATENÇÃO!"));
        QCOMPARE(child<QLineEdit>(app.app->f_login, QStringLiteral("edt_usuario"))->text(), user);
        QCOMPARE(child<QLineEdit>(app.app->f_login, QStringLiteral("edt_senha"))->text(), password);
        QVERIFY(!app.app->f_principal->isVisible());
    }

    void wrongPairEmptiesBothFields() {
        App app;
        login(app, QStringLiteral("CAIXA"), QStringLiteral("9999"));
        QTest::mouseClick(child<QPushButton>(app.app->f_login, QStringLiteral("bt_login")), Qt::LeftButton);
        QCOMPARE(app.messages.texts(), QStringList({"Usuário ou Senha inválido"}));
        QVERIFY(child<QLineEdit>(app.app->f_login, QStringLiteral("edt_usuario"))->text().isEmpty());
        QVERIFY(child<QLineEdit>(app.app->f_login, QStringLiteral("edt_senha"))->text().isEmpty());
        QVERIFY(!app.app->f_principal->isVisible());
    }

    void lowerCaseStoredUserNeverLogsIn() {
        App app;
        app.db.exec("insert into tbl_adm(usuario, senha) values ('maria', '77')");
        login(app, QStringLiteral("maria"), QStringLiteral("77"));
        QTest::mouseClick(child<QPushButton>(app.app->f_login, QStringLiteral("bt_login")), Qt::LeftButton);
        QCOMPARE(app.messages.texts(), QStringList({"Usuário ou Senha inválido"}));
    }

    void quoteInTheUserNameIsLookedUp() {
        App app;
        app.db.exec("insert into tbl_adm(usuario, senha) values ('D''AVILA', '55')");
        login(app, QStringLiteral("d'avila"), QStringLiteral("55"));
        QTest::mouseClick(child<QPushButton>(app.app->f_login, QStringLiteral("bt_login")), Qt::LeftButton);
        QVERIFY2(app.messages.messages.isEmpty(), qPrintable(app.messages.last()));
        QVERIFY(app.app->f_principal->isVisible());
        app.app->f_principal->hide();

        App other;
        login(other, QStringLiteral("x' or '1'='1"), QStringLiteral("55"));
        QTest::mouseClick(child<QPushButton>(other.app->f_login, QStringLiteral("bt_login")), Qt::LeftButton);
        QCOMPARE(other.messages.texts(), QStringList({"Usuário ou Senha inválido"}));
    }

    void cancelAndCloseBoxEndTheProgram() {
        App app;
        QTest::mouseClick(child<QPushButton>(app.app->f_login, QStringLiteral("SpeedButton1")),
                          Qt::LeftButton);
        QVERIFY(app.app->quitRequested);
        App other;
        other.app->f_login->show();
        other.app->f_login->close();
        QVERIFY(other.app->quitRequested);
    }

    void mainMenuHasEveryItemAndShortcut() {
        App app;
        MainWindow* p = app.app->f_principal;
        const QList<QPair<QString, QString>> expected = {{"EncerrarSistema1", ""},   {"AbrirCaixa1", "F2"},
                                                         {"Caderneta1", "F3"},       {"Calculadora1", "F4"},
                                                         {"PaineldeAjustes1", "F5"}, {"LayoutFichas1", "F6"},
                                                         {"Administracao1", "F7"},   {"Desenvolvedor1", "F8"},
                                                         {"TeclasdeAtalho1", "F10"}, {"Historico1", "F9"}};
        for (const auto& [name, shortcut] : expected) {
            auto* a = p->findChild<QAction*>(name);
            QVERIFY2(a, qPrintable(name));
            QCOMPARE(a->shortcut().toString(), shortcut);
        }
        QStringList bar;
        for (QAction* a : p->menuBar()->actions())
            bar << a->text();
        QCOMPARE(bar, QStringList({"&Arquivo", "&Caixa", "&Configurações", "|", "&Ajuda"}));
        QVERIFY(!p->menuBar()->actions().at(3)->isEnabled());
    }

    // Qt's own dialogs and buttons in Portuguese; a box with a short text still shows its whole caption.
    void qtTextsInPortugueseAndWholeCaptions() {
        QVERIFY(loadQtTranslations());
        QDialogButtonBox buttons(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancelar"));
        QCOMPARE(buttons.button(QDialogButtonBox::Save)->text().remove(QLatin1Char('&')),
                 QStringLiteral("Salvar"));
        QMessageBox box(QMessageBox::Critical, Messages::warningCaption, QStringLiteral("Senha inválida!"),
                        QMessageBox::Ok);
        Messages::fitCaption(box);
        box.show();
        QFont bold = box.font();
        bold.setBold(true);
        QVERIFY(box.width() > QFontMetrics(bold).horizontalAdvance(Messages::warningCaption) + 100);
        box.hide();
    }

    void aboutAndShortcutHelpShowAndClose() {
        App app;
        MainWindow* p = app.app->f_principal;
        p->show();
        QVERIFY(QTest::qWaitForWindowActive(p));
        QString seen;
        whenModal(QStringLiteral("f_about"), [&](QWidget* w) {
            for (QLabel* l : w->findChildren<QLabel*>())
                seen += l->text() + QLatin1Char('|');
            key(w, Qt::Key_Return); // OK is the default button
        });
        key(p, Qt::Key_F8);
        QVERIFY(seen.contains(QStringLiteral("Quorvanta 3.0")));
        QVERIFY(seen.contains(QStringLiteral("Desenvolvido por: ")));
        QVERIFY(seen.contains(QStringLiteral("Contatos:")));

        QString help;
        whenModal(QStringLiteral("f_atalhos"), [&](QWidget* w) {
            for (QLabel* l : w->findChildren<QLabel*>())
                help += l->text() + QLatin1Char('\n');
            QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
        });
        p->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p));
        key(p, Qt::Key_F10);
        QCOMPARE(help, QStringLiteral("* Teclas de Atalho para utilizar na tela de Vendas de Caixa\n"
                                      "CTRL + F  -  Fechamento de Caixa\n"
                                      "CTRL + P  -  Exibe na tela o Parcial do Caixa\n"
                                      "CTRL + S  -  Efetua Sangria de Caixa\n"
                                      "F11  -  Painel da Festa (senha da tesouraria)\n"
                                      "* Na tela principal\n"
                                      "F9  -  Histórico de Caixas\n"
                                      "F11  -  Painel da Festa (várias caixas)\n"));
        p->hide();
    }

    void exitThanksAndEnds() {
        App app;
        MainWindow* p = app.app->f_principal;
        p->EncerrarSistema1Click();
        QCOMPARE(app.messages.messages.size(), 1);
        QCOMPARE(app.messages.messages.first().caption, QStringLiteral("Quorvanta 3.0"));
        QVERIFY(app.messages.last().startsWith(QStringLiteral("Obrigado por Utilizar o Quorvanta 3.0  |  ")));
        QVERIFY(app.app->quitRequested);

        App other;
        other.app->f_principal->show();
        other.app->f_principal->close(); // the close box ends the program the same way
        QVERIFY(other.app->quitRequested);
        QCOMPARE(other.messages.messages.size(), 1);
    }

    // The program's own quit closes every window: the thanks still shows once and the program ends.
    void exitShowsTheThanksOnceAndEndsTheProgram_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("exit item by keys") << false;
        QTest::newRow("close box") << true;
    }
    void exitShowsTheThanksOnceAndEndsTheProgram() {
        QFETCH(bool, closeBox);
        App app;
        endsTheEventLoopOnQuit(*app.app);
        MainWindow* p = app.app->f_principal;
        p->show();
        QVERIFY(QTest::qWaitForWindowActive(p));
        QTimer::singleShot(0, p, [&] {
            if (closeBox) {
                p->windowHandle()->close();
                return;
            }
            QTest::keyClick(p->windowHandle(), Qt::Key_A, Qt::AltModifier);
            QTRY_VERIFY(QApplication::activePopupWidget());
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_E);
        });
        QTimer::singleShot(5000, p, [] { QCoreApplication::exit(1); }); // never ended: fail, not hang
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(app.messages.messages.size(), 1);
        QVERIFY(app.messages.last().startsWith(QStringLiteral("Obrigado por Utilizar o Quorvanta 3.0")));
        QVERIFY(!p->isVisible());
    }
};

QUORVANTA_TEST_MAIN(TestShell)
#include "tst_shell.moc"

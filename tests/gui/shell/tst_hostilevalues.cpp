// Hostile text through every window that stores or looks up text: each value is stored exactly as
// its field shows it, or refused with a message; no other table changes, and nothing else runs.

#include "core/db/datamodule.h"
#include "gui/common/keyfilter.h"
#include "gui/common/passwordprompt.h"
#include "gui/creditbook/accountopeningdialog.h"
#include "gui/creditbook/creditbookdriver.h"
#include "gui/settings/passwordswindow.h"
#include "gui/settings/productswindow.h"
#include "gui/settings/tickettextsdialog.h"
#include "gui/shell/loginwindow.h"

#include <QClipboard>
#include <QLineEdit>
#include <QSqlQuery>
#include <QToolButton>

using namespace TestSupport;

namespace {

using Snapshot = QMap<QString, QList<QStringList>>;

Snapshot snapshot(const App& app) {
    Snapshot out;
    for (const QStringList& t :
         app.db.rows(QStringLiteral("select name from sqlite_master where type = 'table' "
                                    "and name not like 'sqlite_%'")))
        out.insert(t[0], app.db.rows(QStringLiteral("select * from \"%1\" order by rowid").arg(t[0])));
    return out;
}

// Replaces the field's text with a paste, as a user would bring text from elsewhere.
void paste(QLineEdit* edit, const QString& value) {
    edit->setFocus();
    edit->selectAll();
    QApplication::clipboard()->setText(value);
    edit->paste();
}

void click(QAbstractButton* b) {
    QTest::mouseClick(b, Qt::LeftButton);
}

template <class W> void inWindow(W* w, std::function<void(W*)> body) {
    whenModal(w->objectName(), [w, body](QWidget*) {
        CreditBook::Closer closer{w};
        body(w);
    });
    w->showModal();
}

struct Target {
    const char* name;
    QString table;     // the table the window writes; empty for a look-up
    QString storedSql; // the stored value
    std::function<void(App&)> setUp;
    std::function<QString(App&, const QString&)> enter; // returns the text the field shows
};

} // namespace

class TestHostileValues : public QObject {
    Q_OBJECT

private slots:
    void everyValueIsStoredExactlyOrRefused() {
        const QStringList values{
            QStringLiteral("'"),
            QStringLiteral("\""),
            QStringLiteral("-"),
            QString::fromUtf16(u"AB\0CD", 5),
            QStringLiteral("' or '1'='1"),
            QStringLiteral("x'); drop table tbl_produtos; --"),
            QString(10000, QLatin1Char('w')),
            QStringLiteral("A\tB\x01\x1b\x7f"),
            QString::fromUtf8("\xF0\x9F\x8D\xBA \xC3\x87\xC3\x83O \xE5\x90\x8D\xF0\x9F\x98\x80"),
        };
        const auto noSetUp = [](App&) {};
        const QList<Target> targets{
            {"login", QString(), QString(), noSetUp,
             [](App& app, const QString& v) {
                 LoginWindow* l = app.app->f_login;
                 l->show();
                 paste(child<QLineEdit>(l, QStringLiteral("edt_usuario")), v);
                 paste(child<QLineEdit>(l, QStringLiteral("edt_senha")), v);
                 click(child<QPushButton>(l, QStringLiteral("bt_login")));
                 return QString();
             }},
            {"administrator password prompt", QString(), QString(), noSetUp,
             [](App& app, const QString& v) {
                 inWindow<PasswordPrompt>(static_cast<PasswordPrompt*>(app.app->f_s_admin),
                                          [&](PasswordPrompt* p) {
                                              paste(child<QLineEdit>(p, QStringLiteral("edt_senha")), v);
                                              click(child<QPushButton>(p, QStringLiteral("bt_fechar")));
                                          });
                 return QString();
             }},
            {"till password", QStringLiteral("tbl_senhas"), QStringLiteral("select s_caixa from tbl_senhas"),
             noSetUp,
             [](App& app, const QString& v) {
                 QString shown;
                 inWindow<PasswordsWindow>(app.app->f_administracao, [&](PasswordsWindow* w) {
                     paste(child<QLineEdit>(w, QStringLiteral("DBEdit1")), v);
                     shown = child<QLineEdit>(w, QStringLiteral("DBEdit1"))->text();
                     click(child<QPushButton>(w, QStringLiteral("SpeedButton1")));
                 });
                 return shown;
             }},
            {"login user", QStringLiteral("tbl_adm"), QStringLiteral("select usuario from tbl_adm"), noSetUp,
             [](App& app, const QString& v) {
                 QString shown;
                 inWindow<PasswordsWindow>(app.app->f_administracao, [&](PasswordsWindow* w) {
                     paste(child<QLineEdit>(w, QStringLiteral("DBEdit3")), v);
                     shown = child<QLineEdit>(w, QStringLiteral("DBEdit3"))->text();
                     click(child<QPushButton>(w, QStringLiteral("SpeedButton4")));
                 });
                 return shown;
             }},
            {"product name", QStringLiteral("tbl_produtos"),
             QStringLiteral("select produto from tbl_produtos where id = '0'"), noSetUp,
             [](App& app, const QString& v) {
                 QString shown;
                 inWindow<ProductsWindow>(app.app->f_config, [&](ProductsWindow* w) {
                     paste(child<QLineEdit>(w, QStringLiteral("DBEdit2")), v);
                     shown = child<QLineEdit>(w, QStringLiteral("DBEdit2"))->text();
                     click(child<QToolButton>(w, QStringLiteral("DBNavigator1")));
                 });
                 return shown;
             }},
            {"event header", QStringLiteral("tbl_festa"), QStringLiteral("select cabecalho from tbl_festa"),
             noSetUp,
             [](App& app, const QString& v) {
                 QString shown;
                 inWindow<TicketTextsDialog>(app.app->f_confi_impr, [&](TicketTextsDialog* w) {
                     paste(child<QLineEdit>(w, QStringLiteral("DBEdit1")), v);
                     shown = child<QLineEdit>(w, QStringLiteral("DBEdit1"))->text();
                     click(child<QPushButton>(w, QStringLiteral("SpeedButton1")));
                 });
                 return shown;
             }},
            {"account opening", QStringLiteral("tbl_caderneta"),
             QStringLiteral("select nome from tbl_caderneta"), noSetUp,
             [](App& app, const QString& v) {
                 QString shown;
                 CreditBook::inList(app, [&](CreditBookWindow* list) {
                     CreditBook::whenShown<AccountOpeningDialog>(
                         QStringLiteral("f_abrir_ficha"), [&](AccountOpeningDialog* w) {
                             paste(child<QLineEdit>(w, QStringLiteral("DBEdit1")), v);
                             shown = child<QLineEdit>(w, QStringLiteral("DBEdit1"))->text();
                             click(child<QPushButton>(w, QStringLiteral("SpeedButton1")));
                             if (w->isVisible()) click(child<QPushButton>(w, QStringLiteral("SpeedButton2")));
                         });
                     click(child<QPushButton>(list, QStringLiteral("SpeedButton1")));
                 });
                 return shown;
             }},
            {"charged item", QStringLiteral("tbl_prod_caderneta"),
             QStringLiteral("select produto from tbl_prod_caderneta"),
             [](App& app) {
                 // every product carries the value, cut to the width of its column as its field would
                 app.db.exec(QStringLiteral("insert into tbl_caderneta(nome) values ('ANA')"));
             },
             [](App& app, const QString&) {
                 QString shown;
                 CreditBook::inList(app, [&](CreditBookWindow* list) {
                     CreditBook::inSheet(
                         list, CreditBook::rowPoint(child<RowGrid>(list, QStringLiteral("DBGrid1")), 0),
                         [&](AccountSheet* sheet) {
                             shown = child<QLineEdit>(sheet, QStringLiteral("dbe_produto"))->text();
                             click(child<QPushButton>(sheet, QStringLiteral("SpeedButton1")));
                         });
                 });
                 return shown;
             }},
        };
        for (const Target& target : targets) {
            for (const QString& value : values) {
                const QString label =
                    QStringLiteral("%1 / %2").arg(QLatin1String(target.name), value.left(40));
                App app;
                target.setUp(app);
                if (QLatin1String(target.name) == QLatin1String("charged item")) {
                    QLineEdit field;
                    KeyFilter::limitWidth(&field, 25);
                    paste(&field, value);
                    QSqlQuery q(app.app->dm->database().handle());
                    q.prepare(QStringLiteral("update tbl_produtos set produto = ?"));
                    q.addBindValue(field.text());
                    QVERIFY(q.exec());
                }
                const Snapshot before = snapshot(app);
                const QString shown = target.enter(app, value);
                const Snapshot after = snapshot(app);
                QVERIFY2(after.contains(QStringLiteral("tbl_produtos")), qPrintable(label));
                if (target.table.isEmpty()) {
                    QVERIFY2(after == before, qPrintable(label));
                    QVERIFY2(!app.messages.messages.isEmpty(), qPrintable(label));
                    continue;
                }
                const QString stored = app.db.scalar(target.storedSql);
                // quotes and a lone minus are ordinary text: always stored
                if (values.indexOf(value) < 5 && !value.contains(QChar(0)))
                    QVERIFY2(stored == shown && !shown.isEmpty(),
                             qPrintable(label + QStringLiteral(": ") + stored));
                if (stored == shown && !shown.isEmpty()) {
                    for (auto it = before.cbegin(); it != before.cend(); ++it)
                        if (it.key() != target.table)
                            QVERIFY2(after.value(it.key()) == it.value(),
                                     qPrintable(label + QStringLiteral(": ") + it.key()));
                    QVERIFY2(stored.toUtf8() == shown.toUtf8(), qPrintable(label)); // whole characters
                } else {
                    QVERIFY2(!app.messages.messages.isEmpty(),
                             qPrintable(label + QStringLiteral(": ") + stored));
                    QVERIFY2(after == before, qPrintable(label));
                }
            }
        }
    }
};

QUORVANTA_TEST_MAIN(TestHostileValues)
#include "tst_hostilevalues.moc"

// Errors of the database engine, each produced for real, reach the user in Portuguese and the
// program goes on.

#include "core/base/errors.h"
#include "core/creditbook/creditbookstore.h"
#include "core/db/database.h"
#include "core/db/datamodule.h"
#include "core/settings/festastore.h"
#include "gui/settings/tickettextsdialog.h"
#include "gui/shell/application.h"
#include "gui/shell/mainwindow.h"
#include "support/testsupport.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <sys/mount.h>
#include <unistd.h>

using namespace TestSupport;

namespace {

// A second program with the same file open.
class OtherProgram {
public:
    explicit OtherProgram(const QString& path) : m_name(QStringLiteral("other-%1").arg(quintptr(this))) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        if (!db.open()) qWarning("second connection not opened");
    }
    ~OtherProgram() {
        QSqlDatabase::database(m_name).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    void exec(const QString& sql) const {
        QSqlQuery q(QSqlDatabase::database(m_name));
        if (!q.exec(sql)) qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    }

private:
    QString m_name;
};

void onProgram(App& app, const QString& sql) {
    QSqlQuery q(app.app->dm->database().handle());
    if (!q.exec(sql)) qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
}

} // namespace

class TestEngineErrors : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Database::setBusyTimeout(300); }

    // The event data window stores its row; each fault makes "Salvar" fail with its message, the
    // window stays, and once the fault is gone the same click stores the row.
    void eachErrorIsShownInPortugueseAndTheProgramGoesOn() {
        struct Case {
            const char* name;
            std::function<void(App&, std::unique_ptr<OtherProgram>&)> fault;
            std::function<void(App&, std::unique_ptr<OtherProgram>&)> repair;
            QString message;
        };
        const QList<Case> cases{
            {"lock held by another program",
             [](App& app, auto& other) {
                 other = std::make_unique<OtherProgram>(app.db.path());
                 other->exec(QStringLiteral("BEGIN EXCLUSIVE"));
             },
             [](App&, auto& other) {
                 other->exec(QStringLiteral("ROLLBACK"));
                 other.reset();
             },
             QStringLiteral("A base de dados está em uso por outro programa")},
            {"read-only connection",
             [](App& app, auto&) { onProgram(app, QStringLiteral("PRAGMA query_only = ON")); },
             [](App& app, auto&) { onProgram(app, QStringLiteral("PRAGMA query_only = OFF")); },
             QStringLiteral("A base de dados está somente para leitura")},
            {"table dropped by another program",
             [](App& app, auto&) { app.db.exec(QStringLiteral("DROP TABLE tbl_festa")); },
             [](App& app, auto&) {
                 app.db.exec(
                     QStringLiteral("CREATE TABLE tbl_festa (cabecalho VARCHAR(30), rodape VARCHAR(30))"));
                 app.db.exec(
                     QStringLiteral("INSERT INTO tbl_festa (rowid, cabecalho, rodape) VALUES (1, 'A', 'B')"));
             },
             QStringLiteral("A base de dados não tem 'tbl_festa'")},
        };
        for (const Case& c : cases) {
            App app;
            std::unique_ptr<OtherProgram> other;
            TicketTextsDialog* w = app.app->f_confi_impr;
            bool shown = false;
            whenModal(QStringLiteral("f_confi_impr"), [&](QWidget*) {
                shown = true;
                child<QLineEdit>(w, QStringLiteral("DBEdit1"))->setFocus();
                child<QLineEdit>(w, QStringLiteral("DBEdit1"))->selectAll();
                type(child<QLineEdit>(w, QStringLiteral("DBEdit1")), QStringLiteral("FESTA JUNINA"));
                c.fault(app, other);
                QTest::mouseClick(child<QPushButton>(w, QStringLiteral("SpeedButton1")), Qt::LeftButton);
                QVERIFY2(app.messages.last().startsWith(c.message),
                         qPrintable(QLatin1String(c.name) + QStringLiteral(": ") + app.messages.last()));
                QCOMPARE(app.messages.messages.last().kind, Messages::Kind::Error);
                QVERIFY2(w->isVisible(), c.name);
                c.repair(app, other);
                app.messages.clear();
                QTest::mouseClick(child<QPushButton>(w, QStringLiteral("SpeedButton1")), Qt::LeftButton);
                QCOMPARE(app.messages.texts(), QStringList{QStringLiteral("Dados Cadastrados!")});
            });
            app.app->f_confi_impr->showModal();
            QVERIFY2(shown, c.name);
            QCOMPARE(app.db.scalar("select cabecalho from tbl_festa"), QStringLiteral("FESTA JUNINA"));
        }
    }

    // A damaged page is met when the account opening uses the name's index; the other windows go on.
    void damagedFileIsShownAndTheProgramGoesOn() {
        TestDatabase db;
        const int page =
            db.scalar("select rootpage from sqlite_master where name = 'ix_caderneta_nome'").toInt();
        QFile f(db.path());
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.seek(qint64(page - 1) * 4096); // page size of the delivered file
        f.write("\x7f", 1);              // no kind of page
        f.close();
        App app;
        app.app.reset();
        app.app = std::make_unique<Application>(db.path());
        Database& base = app.app->dm->database();
        Messages::guarded(nullptr, [&] { CreditBookStore::openAccount(base, QStringLiteral("ANA")); });
        QVERIFY2(app.messages.last().startsWith(QStringLiteral("O arquivo da base de dados está danificado")),
                 qPrintable(app.messages.last()));
        app.messages.clear();
        Messages::guarded(nullptr, [&] { FestaStore::save(base, TicketTexts{QStringLiteral("FESTA"), {}}); });
        QCOMPARE(app.messages.texts(), QStringList());
        QCOMPARE(db.scalar("select cabecalho from tbl_festa"), QStringLiteral("FESTA"));
    }

    // A small file system: full while the program runs, then read-only when the program starts.
    void fullAndReadOnlyFileSystem() {
        TestDatabase source;
        QTemporaryDir dir;
        const QByteArray mountPoint = QFile::encodeName(dir.path());
        if (geteuid() != 0 || ::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=1m") != 0)
            QSKIP("mounting a small file system needs root");
        struct Unmount {
            QByteArray at;
            ~Unmount() { ::umount2(at.constData(), MNT_DETACH); }
        } unmount{mountPoint};
        const QString path = dir.path() + QStringLiteral("/base.db");
        QVERIFY(QFile::copy(source.path(), path));
        {
            App app;
            app.app.reset();
            app.app = std::make_unique<Application>(path);
            // fill the file system to the last byte
            QFile filler(dir.path() + QStringLiteral("/filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'x');
            while (filler.write(block) == block.size() && filler.flush()) {
            }
            filler.close();
            const TicketTexts full{QStringLiteral("FESTA CHEIA"), QStringLiteral("VOLTE SEMPRE")};
            Messages::guarded(nullptr, [&] { FestaStore::save(app.app->dm->database(), full); });
            QVERIFY2(app.messages.last().startsWith(QStringLiteral("O disco está cheio")),
                     qPrintable(app.messages.last()));
            // space freed: the program goes on
            QVERIFY(QFile::remove(filler.fileName()));
            app.messages.clear();
            Messages::guarded(nullptr, [&] { FestaStore::save(app.app->dm->database(), full); });
            QCOMPARE(app.messages.texts(), QStringList());
        }
        QVERIFY(::mount("tmpfs", mountPoint.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=1m") == 0);
        MessageRecorder messages;
        std::unique_ptr<Application> application;
        QVERIFY(!Messages::guarded(nullptr, [&] { application = std::make_unique<Application>(path); }));
        QVERIFY2(messages.last().contains(QStringLiteral("somente para leitura")),
                 qPrintable(messages.last()));
        QVERIFY(messages.last().contains(QStringLiteral("O programa será encerrado")));
    }
};

QUORVANTA_TEST_MAIN(TestEngineErrors)
#include "tst_engineerrors.moc"

// An account's total, item by item, and the charges made to it.
#include "core/base/errors.h"
#include "core/creditbook/creditbookmodel.h"
#include "core/creditbook/creditbookstore.h"
#include "core/db/database.h"
#include "support/coresupport.h"

using namespace TestSupport;

class TestCreditBookModel : public QObject {
    Q_OBJECT

private slots:
    void totalsChargesAndStopsAtAnUnreadablePrice() {
        TestDatabase file;
        file.exec(QStringLiteral("insert into tbl_caderneta (nome) values ('ANA')"));
        Database db(file.path());
        CreditBookModel account(db);
        int changes = 0;
        connect(&account, &CreditBookModel::changed, this, [&] { ++changes; });

        QVERIFY_THROWS_EXCEPTION(AppError,
                                 account.charge(QStringLiteral("CERVEJA"), QStringLiteral("6,00"),
                                                QStringLiteral("2026-12-09"), QStringLiteral("20:00:00")));
        account.setAccount(CreditBookStore::accounts(db).value(0));
        QCOMPARE(account.accountName(), QStringLiteral("ANA"));
        for (const char* price : {"4,00", "2,5"})
            account.charge(QStringLiteral("PASTEL"), QLatin1String(price), QStringLiteral("2026-12-09"),
                           QStringLiteral("20:00:00"));
        QCOMPARE(account.total().text(), QStringLiteral("6,50"));

        file.exec(QStringLiteral("insert into tbl_prod_caderneta (id_ligacao, produto, valor) "
                                 "select id, 'X', '1,2,3' from tbl_caderneta"));
        file.exec(QStringLiteral("insert into tbl_prod_caderneta (id_ligacao, produto, valor) "
                                 "select id, 'Y', '9,00' from tbl_caderneta"));
        changes = 0;
        QVERIFY_THROWS_EXCEPTION(ConversionError, account.sum());
        QCOMPARE(account.total().text(), QStringLiteral("6,50")); // the items before the unreadable one
        QCOMPARE(changes, 1);
        QCOMPARE(account.items().size(), 4); // every item stays listed

        // a place outside the list removes the last item, the one picked goes otherwise; each removal sums
        QVERIFY_THROWS_EXCEPTION(ConversionError, account.removeItem(-1)); // Y
        QVERIFY_THROWS_EXCEPTION(ConversionError, account.removeItem(0));  // PASTEL 4,00
        QCOMPARE(account.items().size(), 2);
        QCOMPARE(account.items().at(0).price, QStringLiteral("2,5"));
        account.removeItem(1); // X, the unreadable one
        QCOMPARE(account.total().text(), QStringLiteral("2,50"));
    }
};

QUORVANTA_CORE_TEST_MAIN(TestCreditBookModel)
#include "tst_creditbookmodel.moc"

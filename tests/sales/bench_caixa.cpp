// Speed of the sales screen with a long till: one product key press end to end (key handled, the
// window repainted with its new line and total) and a full recount of the partial view, with a tally
// of 100 000 rows. Run by hand: ./tests/bench_caixa [tally rows]
#include "foundation/u_dm.h"
#include "sales/u_caixa.h"
#include "shell/forms.h"
#include "support/testsupport.h"
#include "till/u_parcial.h"

#include <QLabel>
#include <QLineEdit>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace TestSupport;
using Clock_ = std::chrono::steady_clock;

namespace {

struct Stats {
    std::vector<double> ms;
    void add(Clock_::duration d) { ms.push_back(std::chrono::duration<double, std::milli>(d).count()); }
    void print(const char* what) {
        std::sort(ms.begin(), ms.end());
        double sum = 0;
        for (double v : ms)
            sum += v;
        std::printf("%-44s n=%4zu  median %8.3f ms  mean %8.3f ms  p95 %8.3f ms  max %8.3f ms\n", what,
                    ms.size(), ms[ms.size() / 2], sum / double(ms.size()), ms[ms.size() * 95 / 100],
                    ms.back());
    }
};

template <class F> Clock_::duration timed(F&& f) {
    const auto t0 = Clock_::now();
    f();
    return Clock_::now() - t0;
}

} // namespace

int main(int argc, char** argv) {
    TestSupport::prepareEnvironment();
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;

    App a;
    // The tally of a long till, spread over the twenty keys.
    a.db.exec(
        QStringLiteral("with recursive n(i) as (select 0 union all select i + 1 from n where i + 1 < %1) "
                       "insert into tbl_cont_vendas(produto, valor, quantidade, impresso, id, "
                       "id_relacionamento) select 'PRODUTO', '4,00', 1 + i % 3, 'FICHA', "
                       "substr('0123456789abcdefghij', 1 + i % 20, 1), '11' from n")
            .arg(rows));
    std::printf("tally rows: %s\n",
                qPrintable(a.db.scalar(QStringLiteral("select count(*) from tbl_cont_vendas"))));

    Tf_caixa* c = a.forms->f_caixa;
    Tf_parcial* p = a.forms->f_parcial;
    setTillOpen(a, QStringLiteral("1"), QStringLiteral("50,00"));
    c->btdelClick();
    Stats shown;
    shown.add(timed([&] {
        c->show();
        QApplication::processEvents();
    }));
    shown.print("sales screen shown (whole tally opened)");
    c->activateWindow();
    QApplication::processEvents();

    Stats handled, endToEnd;
    for (int round = 0; round < 40; ++round) {
        c->btdelClick();
        QApplication::processEvents();
        for (int k = 0; k < 10; ++k) {
            const char key = "1234501234"[k];
            endToEnd.add(timed([&] {
                handled.add(timed([&] { QTest::keyClick(c->windowHandle(), key); }));
                c->repaint(); // the new line and total on the screen
            }));
        }
    }
    handled.print("product key: handled");
    endToEnd.print("product key: handled and window repainted");

    Stats recount;
    for (int i = 0; i < 10; ++i)
        recount.add(timed([&] { p->btquantClick(); }));
    recount.print("full recount (btquant)");

    Stats names;
    for (int i = 0; i < 10; ++i)
        names.add(timed([&] { p->bt_filtrarClick(); }));
    names.print("product names (bt_filtrar)");

    c->closeTill();
    return 0;
}

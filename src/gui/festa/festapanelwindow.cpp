#include "festapanelwindow.h"

#include "core/base/clock.h"
#include "core/festa/festapanel.h"
#include "gui/festa/festacataloguepage.h"
#include "gui/festa/festaclosedtillspage.h"
#include "gui/festa/festadeskspage.h"
#include "gui/festa/festapanelwords.h"
#include "gui/festa/festaproductspage.h"

#include <QHideEvent>
#include <QLabel>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// How often the figures are read while the window shows.
constexpr int refreshMs = 2500;

QLabel* banner(QWidget* parent, const QString& name, const QString& style) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    l->setTextFormat(Qt::PlainText);
    l->setStyleSheet(QStringLiteral("QLabel#%1 { %2 padding: 6px; border-radius: 3px; }").arg(name, style));
    l->hide();
    return l;
}

} // namespace

FestaPanelWindow::FestaPanelWindow(const FestaTarget& treasurer, std::function<bool()> askAdmin)
    : Form(QStringLiteral("f_painel"), QStringLiteral("Painel da Festa")), m_askAdmin(std::move(askAdmin)) {
    setClosesOnEscape();
    QFont big = font();
    big.setPointSize(12);
    setFont(big);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    setMinimumSize(760, 520);
    resize(1000, 700);
    setWindowState(Qt::WindowMaximized);

    m_model = new FestaPanelModel(treasurer, this);
    m_catalogueModel = new FestaPanelModel(treasurer, this);

    l_servidor =
        banner(this, QStringLiteral("l_servidor"), QStringLiteral("background: #b00000; color: white;"));
    l_parcial = banner(this, QStringLiteral("l_parcial"),
                       QStringLiteral("background: #fff1b8; color: #4a3a00; border: 1px solid #d9b800;"));
    l_atualizado = new QLabel(QStringLiteral("Lendo o servidor da festa…"), this);
    l_atualizado->setObjectName(QStringLiteral("l_atualizado"));
    l_atualizado->setContentsMargins(8, 0, 8, 0);

    pg_produtos = new FestaProductsPage(this);
    pg_caixas = new FestaDesksPage(this);
    pg_catalogo = new FestaCataloguePage(this);
    pg_fechados = new FestaClosedTillsPage(this);
    tab_paginas = new QTabWidget(this);
    tab_paginas->setObjectName(QStringLiteral("tab_paginas"));
    tab_paginas->addTab(pg_produtos, QStringLiteral("Produtos  (Ctrl+1)"));
    tab_paginas->addTab(pg_caixas, QStringLiteral("Caixas  (Ctrl+2)"));
    tab_paginas->addTab(pg_catalogo, QStringLiteral("Catálogo  (Ctrl+3)"));
    tab_paginas->addTab(pg_fechados, QStringLiteral("Caixas fechados  (Ctrl+4)"));
    tab_paginas->setCornerWidget(l_atualizado, Qt::TopRightCorner);
    tab_paginas->setFocusPolicy(Qt::NoFocus); // the keys below move between pages; Tab stays in the page

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(l_servidor);
    layout->addWidget(l_parcial);
    layout->addWidget(tab_paginas, 1);

    t_atualizar = new QTimer(this);
    t_atualizar->setObjectName(QStringLiteral("t_atualizar"));
    t_atualizar->setInterval(refreshMs);
    connect(t_atualizar, &QTimer::timeout, this, [this] { readServer(false); });

    const auto key = [this](const QKeySequence& sequence, std::function<void()> action) {
        auto* s = new QShortcut(sequence, this);
        connect(s, &QShortcut::activated, this, [this, action = std::move(action)] { guard(action); });
    };
    for (int page = 0; page < 4; ++page)
        key(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + page)), [this, page] { showPage(page); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] { showPage((tab_paginas->currentIndex() + 1) % 4); });
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
        [this] { showPage((tab_paginas->currentIndex() + 3) % 4); });
    key(QKeySequence(Qt::Key_F5), [this] { readServer(true); });

    connect(tab_paginas, &QTabWidget::currentChanged, this, [this] { guard([this] { pageShown(); }); });
    connect(m_model, &FestaPanelModel::refreshed, this, [this] { guard([this] { refreshed(); }); });
    connect(m_model, &FestaPanelModel::failed, this,
            [this](const QString& why) { guard([&] { failed(why); }); });
    connect(m_model, &FestaPanelModel::closedTillsRead, this,
            [this](const QList<FestaPanelStore::ClosedTill>& tills) {
                answered();
                guard([&] { pg_fechados->showTills(tills); });
            });
    connect(m_catalogueModel, &FestaPanelModel::catalogueRead, this, [this](const FestaCatalogue& c) {
        m_catalogueRequest = CatalogueRequest::None;
        guard([&] { pg_catalogo->setCatalogue(c); });
    });
    connect(m_catalogueModel, &FestaPanelModel::catalogueSaved, this, [this](int version) {
        m_catalogueRequest = CatalogueRequest::None;
        guard([&] {
            m_saving.version = version;
            pg_catalogo->showSaved(m_saving);
            readServer(true); // the desks' versions follow
        });
    });
    connect(m_catalogueModel, &FestaPanelModel::failed, this,
            [this](const QString& why) { guard([&] { catalogueFailed(why); }); });
    connect(pg_catalogo, &FestaCataloguePage::saveAsked, this,
            [this] { guard([this] { saveCatalogue(); }); });
    connect(pg_catalogo, &FestaCataloguePage::reloadAsked, this,
            [this] { guard([this] { reloadCatalogue(); }); });
    connect(pg_caixas, &FestaDesksPage::releaseAsked, this,
            [this](const FestaPanelStore::DeskFigures& keeper) { guard([&] { release(keeper); }); });
}

void FestaPanelWindow::showClosedTills() {
    tab_paginas->setCurrentIndex(ClosedTills);
    showModal();
}

void FestaPanelWindow::FormShow() {
    m_model->refresh(); // and the page's own reading, below
    ++m_pending;
    t_atualizar->start();
    pageShown();
}

void FestaPanelWindow::hideEvent(QHideEvent* event) {
    Form::hideEvent(event);
    if (!event->spontaneous()) t_atualizar->stop(); // a minimised panel goes on reading
}

void FestaPanelWindow::done(int result) {
    if (pg_catalogo->isModified() &&
        !Messages::question(this,
                            QStringLiteral("O catálogo tem alterações que não foram salvas no servidor. "
                                           "Fechar o painel e descartá-las?"))) {
        showPage(Catalogue);
        return;
    }
    pg_catalogo->unload(); // the next showing reads the server's
    Form::done(result);
}

void FestaPanelWindow::showPage(int page) {
    tab_paginas->setCurrentIndex(page);
}

void FestaPanelWindow::pageShown() {
    switch (tab_paginas->currentIndex()) {
    case Products:
        pg_produtos->focusTarget()->setFocus();
        break;
    case Desks:
        pg_caixas->focusTarget()->setFocus();
        break;
    case Catalogue:
        if (!pg_catalogo->isLoaded() && m_catalogueRequest == CatalogueRequest::None) readCatalogue();
        pg_catalogo->focusTarget()->setFocus();
        break;
    case ClosedTills:
        if (isVisible()) readClosedTills();
        pg_fechados->focusTarget()->setFocus();
        break;
    default:
        break;
    }
}

// Asks the server for the figures, and for the closed tills while their page shows. A tick does not
// queue readings behind a server that has not answered the last ones yet.
void FestaPanelWindow::readServer(bool evenIfPending) {
    if (m_pending > 0 && !evenIfPending) return;
    m_model->refresh();
    ++m_pending;
    if (tab_paginas->currentIndex() == ClosedTills) readClosedTills();
}

void FestaPanelWindow::readClosedTills() {
    m_model->readClosedTills();
    ++m_pending;
}

void FestaPanelWindow::answered() {
    m_pending = std::max(0, m_pending - 1);
}

void FestaPanelWindow::refreshed() {
    answered();
    FestaPanelStore::Figures f = m_model->figures();
    FestaPanelWords::sortDesks(f.desks);
    m_lastRead = Clock::now();
    l_servidor->hide();
    const QString partial = FestaPanelWords::partial(f);
    l_parcial->setText(partial);
    l_parcial->setVisible(!partial.isEmpty());
    l_atualizado->setText(QStringLiteral("Atualizado às %1").arg(Clock::timeText(m_lastRead)));
    pg_produtos->showFigures(f);
    pg_caixas->showFigures(f);
}

void FestaPanelWindow::failed(const QString& why) {
    answered();
    l_servidor->setText(
        QStringLiteral("Sem resposta do servidor da festa: %1 %2")
            .arg(why.trimmed(),
                 m_lastRead.isValid()
                     ? QStringLiteral("Os números mostrados são de %1.").arg(Clock::timeText(m_lastRead))
                     : QStringLiteral("Nenhum número lido ainda.")));
    l_servidor->show();
    l_atualizado->setText(QStringLiteral("Tentando de novo…"));
}

void FestaPanelWindow::readCatalogue() {
    m_catalogueRequest = CatalogueRequest::Reading;
    m_catalogueModel->readCatalogue();
}

void FestaPanelWindow::reloadCatalogue() {
    if (m_catalogueRequest != CatalogueRequest::None) return;
    if (pg_catalogo->isModified() &&
        !Messages::question(this, QStringLiteral("Descartar as alterações e ler o catálogo do servidor?")))
        return;
    readCatalogue();
}

void FestaPanelWindow::saveCatalogue() {
    if (m_catalogueRequest != CatalogueRequest::None) return;
    const std::optional<FestaCatalogue> c = pg_catalogo->edited();
    if (!c) return;
    if (!m_askAdmin()) {
        pg_catalogo->showProblem(
            QStringLiteral("Catálogo não salvo: a senha do administrador não foi dada."));
        return;
    }
    m_catalogueRequest = CatalogueRequest::Saving;
    pg_catalogo->setBusy(true);
    m_saving = *c;
    m_catalogueModel->saveCatalogue(m_saving);
}

void FestaPanelWindow::catalogueFailed(const QString& why) {
    const bool saving = m_catalogueRequest == CatalogueRequest::Saving;
    m_catalogueRequest = CatalogueRequest::None;
    pg_catalogo->showProblem(
        (saving ? QStringLiteral("Catálogo não salvo: %1") : QStringLiteral("Catálogo não lido: %1"))
            .arg(why));
}

void FestaPanelWindow::release(const FestaPanelStore::DeskFigures& keeper) {
    if (!Messages::question(
            this, QStringLiteral("O %1 fica com a identidade do caixa. O outro passa a ser um caixa "
                                 "novo e envia ao servidor as vendas que fez desde a cópia. "
                                 "Continuar?")
                      .arg(FestaPanelWords::name(keeper))) ||
        !m_askAdmin())
        return;
    m_model->resolveClaim(keeper); // the figures follow
    ++m_pending;
}

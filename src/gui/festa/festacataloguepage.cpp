#include "festacataloguepage.h"

#include "core/base/money.h"
#include "core/till/productkeys.h"
#include "gui/common/keyfilter.h"
#include "gui/common/messages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { Key, Name, Printed, Price, Tickets };

// The widths the server keeps (the desks print no more).
constexpr int nameWidth = 25;
constexpr int printedWidth = 15;
constexpr int priceWidth = 10;
constexpr int ticketsWidth = 3;
constexpr int textWidth = 30;

// Each column's editor follows the same rules as the desk's own product fields.
class CatalogueDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        auto* e = qobject_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
        if (!e) return nullptr;
        e->setObjectName(QStringLiteral("edt_celula"));
        switch (index.column()) {
        case Name:
        case Printed:
            KeyFilter::upperCase(e);
            KeyFilter::limitWidth(e, index.column() == Name ? nameWidth : printedWidth);
            break;
        case Price:
            KeyFilter::money(e, true);
            KeyFilter::limitWidth(e, priceWidth);
            break;
        case Tickets:
            KeyFilter::digits(e, true);
            KeyFilter::limitWidth(e, ticketsWidth);
            break;
        default:
            break;
        }
        return e;
    }
};

QPushButton* button(QWidget* parent, const QString& name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

FestaCataloguePage::FestaCataloguePage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pg_catalogo"));
    l_versao = new QLabel(QStringLiteral("Lendo o catálogo do servidor…"), this);
    l_versao->setObjectName(QStringLiteral("l_versao"));
    QFont bold = l_versao->font();
    bold.setBold(true);
    l_versao->setFont(bold);

    edt_cabecalho = new QLineEdit(this);
    edt_cabecalho->setObjectName(QStringLiteral("edt_cabecalho"));
    edt_rodape = new QLineEdit(this);
    edt_rodape->setObjectName(QStringLiteral("edt_rodape"));
    for (QLineEdit* e : {edt_cabecalho, edt_rodape}) {
        KeyFilter::limitWidth(e, textWidth);
        connect(e, &QLineEdit::textEdited, this, [this] { m_modified = true; });
    }

    tbl_catalogo = new QTableWidget(ProductKeys::count, 5, this);
    tbl_catalogo->setObjectName(QStringLiteral("tbl_catalogo"));
    tbl_catalogo->setHorizontalHeaderLabels({QStringLiteral("Tecla"), QStringLiteral("Produto"),
                                             QStringLiteral("Impresso na ficha"), QStringLiteral("Preço"),
                                             QStringLiteral("Fichas")});
    tbl_catalogo->horizontalHeaderItem(Tickets)->setToolTip(QStringLiteral("Fichas impressas por unidade"));
    tbl_catalogo->verticalHeader()->hide();
    tbl_catalogo->setSelectionMode(QAbstractItemView::SingleSelection);
    tbl_catalogo->setTabKeyNavigation(false);
    tbl_catalogo->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                  QAbstractItemView::AnyKeyPressed);
    tbl_catalogo->setItemDelegate(new CatalogueDelegate(tbl_catalogo));
    QHeaderView* h = tbl_catalogo->horizontalHeader();
    h->setSectionResizeMode(Name, QHeaderView::Stretch);
    h->setSectionResizeMode(Printed, QHeaderView::Stretch);
    for (int r = 0; r < ProductKeys::count; ++r) {
        auto* key = new QTableWidgetItem(ProductKeys::all().at(r).toUpper());
        key->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        key->setTextAlignment(Qt::AlignCenter);
        tbl_catalogo->setItem(r, Key, key);
        for (int c = Name; c <= Tickets; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment((c >= Price ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            tbl_catalogo->setItem(r, c, item);
        }
    }
    // the twenty keys in view on a laptop's screen
    tbl_catalogo->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tbl_catalogo->verticalHeader()->setDefaultSectionSize(tbl_catalogo->fontMetrics().height() + 6);
    tbl_catalogo->resizeColumnToContents(Key);
    h->resizeSection(Price, 120);
    h->resizeSection(Tickets, 90);
    connect(tbl_catalogo, &QTableWidget::cellChanged, this, &FestaCataloguePage::cellEdited);

    l_catalogo = new QLabel(this);
    l_catalogo->setObjectName(QStringLiteral("l_catalogo"));
    l_catalogo->setWordWrap(true);
    bt_recarregar = button(this, QStringLiteral("bt_recarregar"), QStringLiteral("&Recarregar do servidor"));
    bt_salvar_catalogo =
        button(this, QStringLiteral("bt_salvar_catalogo"), QStringLiteral("&Salvar nova versão"));
    connect(bt_recarregar, &QPushButton::clicked, this, &FestaCataloguePage::reloadAsked);
    connect(bt_salvar_catalogo, &QPushButton::clicked, this, &FestaCataloguePage::saveAsked);

    auto* texts = new QGridLayout;
    auto* l1 = new QLabel(QStringLiteral("&Cabeçalho da ficha:"), this);
    l1->setObjectName(QStringLiteral("l_cabecalho"));
    l1->setBuddy(edt_cabecalho);
    auto* l2 = new QLabel(QStringLiteral("Ro&dapé da ficha:"), this);
    l2->setObjectName(QStringLiteral("l_rodape"));
    l2->setBuddy(edt_rodape);
    texts->addWidget(l1, 0, 0);
    texts->addWidget(edt_cabecalho, 0, 1);
    texts->addWidget(l2, 0, 2);
    texts->addWidget(edt_rodape, 0, 3);
    texts->setColumnStretch(1, 1);
    texts->setColumnStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(l_catalogo, 1);
    buttons->addWidget(bt_recarregar);
    buttons->addWidget(bt_salvar_catalogo);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(l_versao);
    layout->addLayout(texts);
    layout->addWidget(tbl_catalogo, 1);
    layout->addLayout(buttons);
    setTabOrder(tbl_catalogo, edt_cabecalho);
    setTabOrder(edt_cabecalho, edt_rodape);
    setTabOrder(edt_rodape, bt_recarregar);
    setTabOrder(bt_recarregar, bt_salvar_catalogo);
}

QWidget* FestaCataloguePage::focusTarget() const {
    return tbl_catalogo;
}

void FestaCataloguePage::setCatalogue(const FestaCatalogue& c) {
    m_loading = true;
    edt_cabecalho->setText(c.header);
    edt_rodape->setText(c.footer);
    for (int r = 0; r < ProductKeys::count; ++r) {
        for (int col = Name; col <= Tickets; ++col)
            tbl_catalogo->item(r, col)->setText(QString());
        for (const FestaCatalogue::Product& p : c.products) {
            if (p.key.toLower() != ProductKeys::all().at(r)) continue;
            tbl_catalogo->item(r, Name)->setText(p.name);
            tbl_catalogo->item(r, Printed)->setText(p.printed);
            tbl_catalogo->item(r, Price)->setText(p.price);
            tbl_catalogo->item(r, Tickets)->setText(QString::number(p.tickets));
        }
    }
    m_loading = false;
    if (tbl_catalogo->currentColumn() <= Key) tbl_catalogo->setCurrentCell(0, Name);
    m_loaded = true;
    m_modified = false;
    l_versao->setText(c.version > 0
                          ? QStringLiteral("Catálogo do servidor: versão %1").arg(c.version)
                          : QStringLiteral("O servidor ainda não tem catálogo: cada caixa vende com o "
                                           "seu até a primeira versão ser salva."));
    l_catalogo->clear();
}

void FestaCataloguePage::cellEdited(int row, int column) {
    if (m_loading) return;
    m_modified = true;
    // a new product prints its name and one ticket until told otherwise
    if (column != Name || tbl_catalogo->item(row, Name)->text().trimmed().isEmpty()) return;
    if (tbl_catalogo->item(row, Printed)->text().isEmpty())
        tbl_catalogo->item(row, Printed)
            ->setText(tbl_catalogo->item(row, Name)->text().trimmed().left(printedWidth));
    if (tbl_catalogo->item(row, Tickets)->text().isEmpty())
        tbl_catalogo->item(row, Tickets)->setText(QStringLiteral("1"));
}

std::optional<FestaCatalogue> FestaCataloguePage::edited() {
    static const QRegularExpression price(QStringLiteral("^[0-9]{1,7}(,[0-9]{1,2})?$"));
    // a cell still being typed in counts as typed
    if (QWidget* editor = tbl_catalogo->indexWidget(tbl_catalogo->currentIndex())) {
        emit tbl_catalogo->itemDelegate()->commitData(editor);
        emit tbl_catalogo->itemDelegate()->closeEditor(editor);
    }
    FestaCatalogue c;
    c.header = edt_cabecalho->text().trimmed();
    c.footer = edt_rodape->text().trimmed();
    for (int r = 0; r < ProductKeys::count; ++r) {
        const auto cell = [&](int column) { return tbl_catalogo->item(r, column)->text().trimmed(); };
        const QString name = cell(Name);
        if (name.isEmpty()) continue; // the key sells nothing
        const QString key = ProductKeys::all().at(r);
        const QString which = QStringLiteral("tecla %1 (%2)").arg(key.toUpper(), name);
        if (!price.match(cell(Price)).hasMatch()) {
            refuse(r, Price,
                   QStringLiteral("O preço da %1 não é um valor válido: \"%2\". Digite um valor como 7,50.")
                       .arg(which, cell(Price)));
            return std::nullopt;
        }
        if (cell(Tickets).isEmpty()) {
            refuse(r, Tickets, QStringLiteral("Informe quantas fichas a %1 imprime por unidade.").arg(which));
            return std::nullopt;
        }
        const QString printed = cell(Printed).isEmpty() ? name.left(printedWidth) : cell(Printed);
        c.products << FestaCatalogue::Product{key, name, printed, Cents::parse(cell(Price)).text(),
                                              cell(Tickets).toInt()};
    }
    if (c.products.isEmpty()) {
        refuse(0, Name, QStringLiteral("O catálogo não tem nenhum produto: dê nome a ao menos uma tecla."));
        return std::nullopt;
    }
    return c;
}

void FestaCataloguePage::refuse(int row, int column, const QString& text) {
    Messages::warning(this, text);
    tbl_catalogo->setCurrentCell(row, column);
    tbl_catalogo->setFocus();
}

void FestaCataloguePage::setBusy(bool busy) {
    bt_salvar_catalogo->setEnabled(!busy);
    bt_recarregar->setEnabled(!busy);
    if (busy) l_catalogo->setText(QStringLiteral("Salvando o catálogo no servidor…"));
}

void FestaCataloguePage::showSaved(const FestaCatalogue& saved) {
    setBusy(false);
    setCatalogue(saved);
    l_catalogo->setText(
        QStringLiteral(
            "<b>Catálogo versão %1 salvo:</b> as caixas passam a vender com ele entre duas vendas.")
            .arg(saved.version));
}

void FestaCataloguePage::showProblem(const QString& text) {
    setBusy(false);
    l_catalogo->setText(QStringLiteral("<font color=\"#b00000\">%1</font>").arg(text.toHtmlEscaped()));
}

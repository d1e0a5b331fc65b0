#include "mainwindow.h"

#include "core/till/tillmodel.h"
#include "gui/common/form.h"
#include "gui/common/messages.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>

MainWindow::MainWindow(TillModel& till) : QMainWindow(nullptr), m_till(till) {
    setObjectName(QStringLiteral("f_principal"));
    setWindowTitle(QStringLiteral("Quorvanta 3.0"));
    resize(1024, 700);
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* arquivo = bar->addMenu(QStringLiteral("&Arquivo"));
    arquivo->setObjectName(QStringLiteral("Arquivo1"));
    item(arquivo, QStringLiteral("EncerrarSistema1"), QStringLiteral("&Encerrar Sistema"), {},
         &MainWindow::EncerrarSistema1Click);

    QMenu* caixa = bar->addMenu(QStringLiteral("&Caixa"));
    caixa->setObjectName(QStringLiteral("Caixa1"));
    item(caixa, QStringLiteral("AbrirCaixa1"), QStringLiteral("&Abrir Caixa"), Qt::Key_F2,
         &MainWindow::AbrirCaixa1Click);
    item(caixa, QStringLiteral("Caderneta1"), QStringLiteral("&Caderneta"), Qt::Key_F3,
         &MainWindow::Caderneta1Click);
    item(caixa, QStringLiteral("Historico1"), QStringLiteral("&Histórico de Caixas"), Qt::Key_F9,
         &MainWindow::Historico1Click);
    item(caixa, QStringLiteral("PainelFesta1"), QStringLiteral("&Painel da Festa"), Qt::Key_F11,
         &MainWindow::PainelFesta1Click);
    caixa->addSeparator();
    item(caixa, QStringLiteral("Calculadora1"), QStringLiteral("C&alculadora"), Qt::Key_F4,
         &MainWindow::Calculadora1Click);

    QMenu* config = bar->addMenu(QStringLiteral("&Configurações"));
    config->setObjectName(QStringLiteral("Configuracoes1"));
    item(config, QStringLiteral("PaineldeAjustes1"), QStringLiteral("&Painel de Ajustes"), Qt::Key_F5,
         &MainWindow::PaineldeAjustes1Click);
    item(config, QStringLiteral("LayoutFichas1"), QStringLiteral("&Layout Fichas"), Qt::Key_F6,
         &MainWindow::LayoutFichas1Click);
    config->addSeparator();
    item(config, QStringLiteral("Administracao1"), QStringLiteral("&Administração"), Qt::Key_F7,
         &MainWindow::Administracao1Click);

    QAction* divider = bar->addAction(QStringLiteral("|"));
    divider->setObjectName(QStringLiteral("N1"));
    divider->setEnabled(false);

    QMenu* ajuda = bar->addMenu(QStringLiteral("&Ajuda"));
    ajuda->setObjectName(QStringLiteral("Ajuda1"));
    item(ajuda, QStringLiteral("Desenvolvedor1"), QStringLiteral("&Desenvolvedor"), Qt::Key_F8,
         &MainWindow::Desenvolvedor1Click);
    ajuda->addSeparator();
    item(ajuda, QStringLiteral("TeclasdeAtalho1"), QStringLiteral("&Teclas de Atalho"), Qt::Key_F10,
         &MainWindow::TeclasdeAtalho1Click);
}

QAction* MainWindow::item(QMenu* menu, const QString& objectName, const QString& caption,
                          const QKeySequence& key, void (MainWindow::*handler)()) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(objectName);
    a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
    addAction(a); // the shortcut works while the menu is closed
    connect(a, &QAction::triggered, this,
            [this, handler] { Messages::guarded(this, [&] { (this->*handler)(); }); });
    return a;
}

void MainWindow::EncerrarSistema1Click() {
    Messages::plain(
        this,
        QStringLiteral("Obrigado por Utilizar o Quorvanta 3.0  |  %1 %2").arg(Maker::name(), Maker::site()));
    emit quitRequested();
}

void MainWindow::AbrirCaixa1Click() {
    emit openingRequested();
}

void MainWindow::resumeOpenTill() {
    const TillModel& till = m_till;
    if (!till.isOpen()) return;
    Messages::plain(this,
                    QStringLiteral("O caixa Nº %1, aberto em %2 às %3, não foi fechado e foi recuperado "
                                   "com todos os seus valores e a venda em andamento.")
                        .arg(till.numberText(), till.till().openDate, till.till().openTime));
    emit tillResumed(); // the sales screen: the till goes on until it is closed
}

void MainWindow::Historico1Click() {
    emit historyRequested();
}

void MainWindow::PainelFesta1Click() {
    emit festaPanelRequested();
}

void MainWindow::Caderneta1Click() {
    emit creditBookRequested();
}

QString MainWindow::calculatorProgram() {
    for (const char* name :
         {"gnome-calculator", "kcalc", "galculator", "mate-calc", "qalculate-gtk", "xcalc"}) {
        QString path = QStandardPaths::findExecutable(QLatin1String(name));
        if (!path.isEmpty()) return path;
    }
    return QString();
}

void MainWindow::Calculadora1Click() {
    const QString program = calculatorProgram();
    if (!program.isEmpty()) QProcess::startDetached(program, {});
}

void MainWindow::PaineldeAjustes1Click() {
    emit productsRequested();
}

void MainWindow::LayoutFichas1Click() {
    emit ticketTextsRequested();
}

void MainWindow::Administracao1Click() {
    emit adminRequested();
}

void MainWindow::Desenvolvedor1Click() {
    emit aboutRequested();
}

void MainWindow::TeclasdeAtalho1Click() {
    emit shortcutsRequested();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Ending the program asks every window to close: once the exit has run, the window just closes.
    if (m_ending) {
        event->accept();
        return;
    }
    // Closing the main window ends the program, as the exit item does.
    event->ignore();
    Messages::guarded(this, [this] { EncerrarSistema1Click(); });
    if (m_ending) event->accept();
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    QPainter p(this);
    QFont big(QStringLiteral("Verdana"));
    big.setPointSize(35);
    big.setBold(true);
    p.setFont(big);
    p.setPen(QColor(192, 192, 192));
    const QRect area = rect().adjusted(0, menuBar()->height(), -30, -20);
    p.drawText(area, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Quorvanta"));
    QFont small = font();
    small.setPointSize(10);
    p.setFont(small);
    p.setPen(QColor(110, 110, 110));
    p.drawText(area.adjusted(0, 10, 0, 0), Qt::AlignRight | Qt::AlignTop, Maker::site());
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) keepOnScreen(this);
}

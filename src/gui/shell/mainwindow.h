#pragma once

#include "core/base/maker.h"

#include <QMainWindow>

class TillModel;
class QAction;

// The main window and its menu.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(TillModel& till);

    // Placeholders of this project's own for the maker and the developer.

    void EncerrarSistema1Click();
    void AbrirCaixa1Click();
    void Caderneta1Click();
    void Historico1Click();
    void PainelFesta1Click();
    void Calculadora1Click();
    void PaineldeAjustes1Click();
    void LayoutFichas1Click();
    void Administracao1Click();
    void Desenvolvedor1Click();
    void TeclasdeAtalho1Click();

    // After a crash or a power cut: a till left open comes back on the sales screen, with its sale in
    // progress, once the user has logged in (tillResumed).
    void resumeOpenTill();

    // The program is ending: closing this window no longer asks for it.
    void setEnding() { m_ending = true; }

    // The first desktop calculator found, or empty.
    static QString calculatorProgram();

signals:
    // The menu's commands; each window is shown modally and has closed on return.
    void quitRequested();
    void openingRequested();
    void tillResumed();
    void historyRequested();
    void festaPanelRequested(); // the whole festa's figures, on the festa server
    void creditBookRequested();
    void productsRequested();
    void ticketTextsRequested();
    void adminRequested();
    void aboutRequested();
    void shortcutsRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QAction* item(QMenu* menu, const QString& objectName, const QString& caption, const QKeySequence& key,
                  void (MainWindow::*handler)());
    TillModel& m_till;
    bool m_ending = false;
};

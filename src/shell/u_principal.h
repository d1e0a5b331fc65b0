#pragma once

#include <QMainWindow>

class Forms;
class QAction;

// The main window and its menu.
class Tf_principal : public QMainWindow {
    Q_OBJECT
public:
    explicit Tf_principal(Forms& forms);

    // Placeholders of this project's own for the maker and the developer.
    static QString makerName() { return QStringLiteral("Equipe Quorvanta"); }
    static QString makerSite() { return QStringLiteral("www.quorvanta.example.org"); }

    void EncerrarSistema1Click();
    void AbrirCaixa1Click();
    void Caderneta1Click();
    void Historico1Click();
    void Calculadora1Click();
    void PaineldeAjustes1Click();
    void LayoutFichas1Click();
    void Administracao1Click();
    void Desenvolvedor1Click();
    void TeclasdeAtalho1Click();

    // After a crash or a power cut: a till left open comes back on the sales screen, with its sale in
    // progress, once the user has logged in.
    void resumeOpenTill();

    // The first desktop calculator found, or empty.
    static QString calculatorProgram();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QAction* item(QMenu* menu, const QString& objectName, const QString& caption, const QKeySequence& key,
                  void (Tf_principal::*handler)());
    Forms& forms;
};

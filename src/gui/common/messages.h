#pragma once

#include <QString>
#include <exception>
#include <functional>

class QMessageBox;
class QWidget;

// Every message box of the system goes through here, so tests can answer them.
namespace Messages {

inline const QString appTitle = QStringLiteral("Quorvanta 3.0");
inline const QString warningCaption = QStringLiteral("ATENÇÃO!");

enum class Kind { Warning, Plain, Error, Question };

// Warning box: caption "ATENÇÃO!", error icon, OK.
void warning(QWidget* parent, const QString& text);
// Plain message: caption "Quorvanta 3.0", OK.
void plain(QWidget* parent, const QString& text);
// The generic error display for an engine, conversion or print error.
void error(QWidget* parent, const QString& text);

// A yes-or-no question: caption "Quorvanta 3.0", buttons "Sim" and "Não" ("Não" when Esc is pressed).
bool question(QWidget* parent, const QString& text);

// Widens a box so that its title bar shows the whole caption.
void fitCaption(QMessageBox& box);

// Replaces the real boxes (tests record them instead of showing them). An empty handler restores the boxes.
using Handler = std::function<void(Kind kind, const QString& caption, const QString& text)>;
void setHandler(Handler handler);
// With a handler set, questions are answered by this (no answerer: "Não").
using Answerer = std::function<bool(const QString& text)>;
void setAnswerer(Answerer answerer);

// Runs an event handler; an error it raises is shown and stops it there. Steps already done stay done.
template <class F> bool guarded(QWidget* parent, F&& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        error(parent, QString::fromUtf8(e.what()));
    } catch (...) {
        error(parent, QStringLiteral("Erro desconhecido"));
    }
    return false;
}

} // namespace Messages

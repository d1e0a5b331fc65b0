#pragma once

#include <QDialog>
#include <functional>

#include "messages.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// A long-lived window of the system. Shown modally with showModal(); FormShow, FormActivate and
// FormClose run guarded, so an error is shown and never unwinds through Qt.
// Esc does not close a window (but one that only shows things); speed buttons never take the focus nor
// answer Enter. A window is shown over the window that opened it and inside the screen's free area.
class Form : public QDialog {
    Q_OBJECT
public:
    Form(const QString& objectName, const QString& caption);

    int showModal();

    // Runs a handler; an error it raises is shown by the generic error display.
    template <class F> bool guard(F&& handler) { return Messages::guarded(this, std::forward<F>(handler)); }

    // A fixed-size dialog with only a close box.
    void setFixedDialog(int width, int height);
    // No title bar buttons at all.
    void setNoSystemMenu();
    // A window that only shows things: Esc closes it.
    void setClosesOnEscape() { m_closesOnEscape = true; }

    // Shows what `source` holds: `refresh` runs now and on each `signal` while the window is shown;
    // a hidden window is not repainted, it refreshes once when it next shows.
    template <class Source, class Signal>
    void followWhileShown(Source* source, Signal signal, std::function<void()> refresh) {
        m_refresh = std::move(refresh);
        connect(source, signal, this, &Form::sourceChanged);
        m_refresh();
    }
    // Whether a change is waiting for the next showing.
    bool isStale() const { return m_stale; }
    // Brings a hidden window up to date now, as its next showing would.
    void catchUp();

protected:
    virtual void FormShow() {}
    virtual void FormActivate() {}
    virtual void FormClose() {}

    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;

    // Building blocks.
    QLabel* label(const QString& objectName, const QString& text, bool bold = false);
    QLineEdit* lineEdit(const QString& objectName);
    // A button that never takes the focus; its click runs guarded.
    QPushButton* speedButton(const QString& objectName, const QString& caption,
                             std::function<void()> onClick);
    // A one-second timer running from creation, ticking `tick`.
    QTimer* clockTimer(std::function<void()> tick);

private:
    void sourceChanged();

    bool m_closesOnEscape = false;
    bool m_stale = false;
    std::function<void()> m_refresh;
};

// Keeps a top-level window inside its screen's available area (work area): shrinks it where it is
// larger, down to its minimum size, and moves it back in where it sticks out.
void keepOnScreen(QWidget* window);

#include "InputCodes.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

int MouseButtonCode(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
        | (buttons & Qt::MiddleButton ? 4 : 0);
}

int ShiftCode(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

int KeyAscii(const QKeyEvent& event)
{
    const int key = event.key();
    if (event.modifiers() & Qt::ControlModifier)
        return key >= Qt::Key_A && key <= Qt::Key_Z ? key - Qt::Key_A + 1 : 0;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Escape: return 27;
    default: break;
    }
    const QString text = event.text();
    if (text.isEmpty())
        return 0;
    const char32_t code = text.toUcs4().value(0);
    return code >= 32 && code != 127 ? int(code) : 0;
}

int KeyCode(const QKeyEvent& event)
{
    const int key = event.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;   // the same codes
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Escape: return 27;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    default: return 0;
    }
}

namespace {

class KeyPressHook : public QObject {
public:
    KeyPressHook(QWidget* widget, std::function<void(int)> f) : QObject(widget), f_(std::move(f))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            if (const int code = KeyAscii(*static_cast<QKeyEvent*>(event)))
                f_(code);
        }
        return false;
    }

private:
    std::function<void(int)> f_;
};

} // namespace

void OnKeyPress(QWidget* widget, std::function<void(int)> f)
{
    new KeyPressHook(widget, std::move(f));
}

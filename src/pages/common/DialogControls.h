#pragma once
// Building the page dialogs: a control created in its container with its name and its
// place given in twips, a caption in the main window's language, and the modeless
// dialog that OK, Cancel, Esc and closing unload.
#include "platform/Twips.h"
#include <QCloseEvent>
#include <QDialog>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <utility>

// new W(args..., parent), named and placed at (left, top, width, height) twips.
template <class W, class... Args>
W* Control(QWidget* parent, const QString& name, QRect twips, Args&&... args)
{
    auto* w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(name);
    w->setGeometry(PixelRect(twips.x(), twips.y(), twips.width(), twips.height()));
    return w;
}

// The English caption when SPRACHE is 1, the German one otherwise.
inline QString Caption(int sprache, const char* english, const char* german)
{
    return QString::fromUtf8(sprache == 1 ? english : german);
}

// A modeless dialog whose every way of closing unloads (deletes) it; a new one is
// loaded when it is touched again.
class UnloadingDialog : public QDialog {
public:
    explicit UnloadingDialog(QWidget* owner) : QDialog(owner) { setAttribute(Qt::WA_DeleteOnClose); }
    bool unloaded() const { return unloaded_; }

protected:
    void done(int result) override
    {
        QDialog::done(result);
        close();
    }
    void closeEvent(QCloseEvent* event) override
    {
        QDialog::closeEvent(event);
        unloaded_ = event->isAccepted();
    }

private:
    bool unloaded_ = false;
};

// The one loaded dialog of a kind: load() makes it when none is loaded.
template <class Form, class Load>
Form& LoadedForm(Load load)
{
    static QPointer<Form> form;
    if (!form || form->unloaded())
        form = load();
    return *form;
}

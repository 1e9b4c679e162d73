#include "StatusBar.h"
#include "platform/InputCodes.h"
#include "platform/Twips.h"
#include <QHBoxLayout>
#include <QMouseEvent>

namespace {
int Pixels(int twips) { return int(twips / double(TwipsPerPixel) + 0.5); }
}

StatusPanel::StatusPanel(int index, PanelStyle style, int widthTwips, QWidget* parent)
    : QLabel(parent), index_(index), style_(style)
{
    setObjectName(QStringLiteral("stbMAIN_Panel%1").arg(index));
    setFrameShape(QFrame::Panel);
    setMargin(2);
    if (style == PanelStyle::Button) {
        setFixedWidth(Pixels(widthTwips));
        setAlignment(Qt::AlignCenter);
        SetBevel(PanelBevel::Raised);
    } else {
        setMinimumWidth(Pixels(widthTwips));
        SetBevel(PanelBevel::Inset);
    }
}

void StatusPanel::SetBevel(PanelBevel bevel)
{
    bevel_ = bevel;
    setFrameShadow(bevel == PanelBevel::Raised ? QFrame::Raised : QFrame::Sunken);
}

int StatusPanel::Left() const { return int(x() * TwipsPerPixel); }
int StatusPanel::Width() const { return int(width() * TwipsPerPixel); }

void StatusPanel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (style_ == PanelStyle::Button && event->button() == Qt::LeftButton
        && rect().contains(event->position().toPoint()))
        emit clicked(*this);
}

StatusBar::StatusBar(const std::vector<PanelSpec>& panels, int heightTwips, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("stbMAIN"));
    setFixedHeight(Pixels(heightTwips));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(2);
    int index = 1;
    for (const PanelSpec& spec : panels) {
        auto* panel = new StatusPanel(index++, spec.style, spec.widthTwips, this);
        panel->setText(QString::fromUtf8(spec.text));
        panel->setVisible(spec.visible);
        layout->addWidget(panel, spec.style == PanelStyle::Spring ? 1 : 0);
        connect(panel, &StatusPanel::clicked, this, &StatusBar::PanelClick);
        panels_.push_back(panel);
    }
}

void StatusBar::mousePressEvent(QMouseEvent* event)
{
    emit MouseDown(MouseButtonCode(event->buttons()), ShiftCode(event->modifiers()),
                   float(event->position().x() * TwipsPerPixel), float(event->position().y() * TwipsPerPixel));
    QWidget::mousePressEvent(event);
}

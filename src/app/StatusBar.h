#pragma once
// The main window's status bar: fifteen panels in index order from the left.
// Information panels size themselves to their text (not below their minimum
// width); a spring panel takes the remaining width; button panels have a fixed
// width, look raised at rest and report clicks. Sizes are given in twips.
#include <QLabel>
#include <QWidget>
#include <vector>

enum class PanelStyle { Text, Spring, Button };
enum class PanelBevel { Inset, Raised };

class StatusPanel : public QLabel {
    Q_OBJECT
public:
    StatusPanel(int index, PanelStyle style, int widthTwips, QWidget* parent);
    int Index() const { return index_; }
    // Visible as the program sets it (also while the window itself is hidden).
    bool Visible() const { return !isHidden(); }
    void SetVisible(bool visible) { setVisible(visible); }
    PanelBevel Bevel() const { return bevel_; }
    void SetBevel(PanelBevel bevel);
    // Position and size in twips within the status bar.
    int Left() const;
    int Width() const;

signals:
    void clicked(StatusPanel& panel);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int index_;
    PanelStyle style_;
    PanelBevel bevel_ = PanelBevel::Inset;
};

class StatusBar : public QWidget {
    Q_OBJECT
public:
    struct PanelSpec {
        PanelStyle style;
        int widthTwips;    // minimum width, or the fixed width of a button
        const char* text;
        bool visible;
    };
    StatusBar(const std::vector<PanelSpec>& panels, int heightTwips, QWidget* parent);
    // Panel n, counted from 1.
    StatusPanel& Panels(int n) { return *panels_.at(n - 1); }
    int Count() const { return int(panels_.size()); }

signals:
    void PanelClick(StatusPanel& panel);
    // A mouse button pressed anywhere on the bar: button and shift state as the runtime
    // codes them, the position in twips from the bar's top left corner.
    void MouseDown(int button, int shift, float x, float y);

protected:
    // Presses on the panels come here too: the panels take no press of their own.
    void mousePressEvent(QMouseEvent* event) override;

private:

    std::vector<StatusPanel*> panels_;
};

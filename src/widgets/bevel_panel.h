// A panel with the classic two bevels (outer and inner, each none, raised or lowered), an
// inner border, an optional centred caption and a click signal.
#pragma once

#include <QWidget>

class BevelPanel : public QWidget {
    Q_OBJECT
public:
    enum class Bevel { None, Raised, Lowered };

    explicit BevelPanel(QWidget* parent = nullptr);

    void setBevels(Bevel outer, Bevel inner);
    Bevel bevelOuter() const { return outer_; }
    Bevel bevelInner() const { return inner_; }
    void setBorderWidth(int width);
    // Space taken by the bevels and the border on each side.
    int frameWidth() const;

    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }
    void setBackground(const QColor& color);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Bevel outer_ = Bevel::Raised;
    Bevel inner_ = Bevel::None;
    int border_ = 0;
    QString caption_;
};

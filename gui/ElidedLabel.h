// A one-line label that never asks for more width than it gets: a text too long for it is shown
// shortened in the middle ("Data Set 1   Infile= …_PH2plotDS1.csv"), and the whole text is its
// tooltip. text() is always the whole text.
#pragma once

#include <QLabel>

namespace orr::gui {

class ElidedLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ElidedLabel(const QString& text, QWidget* parent = nullptr);

    // Sets the whole text and the tooltip.
    void setFullText(const QString& text);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString shownText() const;
};

}  // namespace orr::gui

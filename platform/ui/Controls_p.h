// Controls' widget side, private to the window layer: how a Qt widget knows and paints its control.
#pragma once

#include <QWidget>

#include "platform/ui/Controls.h"

// What every control's widget knows of its control; the control clears it before the widget goes, so a
// late Qt event never reaches a control that is being destroyed.
class TControlLink {
 public:
  explicit TControlLink(TControl* control) : FLinkedControl(control) {}
  virtual ~TControlLink() = default;
  TControl* LinkedControl() const { return FLinkedControl; }
  void Unlink() { FLinkedControl = nullptr; }

 private:
  TControl* FLinkedControl;
};

// The Qt widget of a control that paints itself: panels, labels, tab sheets.
class TPaintedWidget : public QWidget, public TControlLink {
  Q_OBJECT
 public:
  explicit TPaintedWidget(TControl* control);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// Paints control on widget: a canvas with the control's colour as brush and its font, then Paint.
void PaintControl(TControl* control, QWidget* widget);

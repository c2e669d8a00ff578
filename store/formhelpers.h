#pragma once
// Helpers every form uses.
class QPainter;
class QWidget;

namespace talik {

// Moves a form to the centre of its screen.
void CentreForm(QWidget* form);
// Draws the bevel around `control` on the painter of its parent form (2 pixels wide unless told).
void Draw3DFrame(QPainter& painter, const QWidget* control, bool raised, int bevelWidth = 2);

} // namespace talik

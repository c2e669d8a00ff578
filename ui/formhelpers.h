#pragma once
// Helpers every form uses.
class QColor;
class QFrame;
class QPainter;
class QWidget;

namespace talik {

struct WindowGeometry;

// Moves a form to the centre of its screen.
void CentreForm(QWidget* form);
// Sizes and places a window by its stored geometry (twips); a stored left of 0 or less centres it.
void PlaceWindow(QWidget* window, const WindowGeometry& twips);
// Stores the window's place and size (twips), unless it is minimised, maximised or full screen.
void StoreWindowGeometry(const QWidget* window, WindowGeometry& into);

// Paints `widget` in `text` on `background`. By its palette rather than a style sheet: the first style
// sheet of a window brings the whole style sheet machinery with it, for two colours.
void SetColours(QWidget* widget, const QColor& text, const QColor& background);

// A frame around a group of controls without a caption, as the list windows have: a plain panel.
// Not a group box, whose style draws it from an image it reads by asking every image plugin of the
// system whether it knows the file - plugins the program otherwise never needs at start.
QFrame* NewControlFrame(QWidget* parent);

// Draws the bevel around `control` on the painter of its parent form (2 pixels wide unless told).
void Draw3DFrame(QPainter& painter, const QWidget* control, bool raised, int bevelWidth = 2);

} // namespace talik

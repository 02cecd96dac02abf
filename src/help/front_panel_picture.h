#pragma once
// The picture of the About box: the front panel of an ORX bench power supply (case, voltage and
// current displays, knobs, indicators, power switch and output terminals). It is drawn in code, so
// the same drawing serves the 200 x 129 pixel picture of the About box and, scaled and as vectors,
// the title page of the help document. Needs QtGui only.

#include <QImage>

class QPainter;

namespace orx {

inline constexpr int kFrontPanelWidth = 200;
inline constexpr int kFrontPanelHeight = 129;

// Paints the front panel into the rectangle (0, 0, 200, 129) of the painter's current coordinate
// system; scale the painter first to draw it larger. The painter's state is restored afterwards.
void paintFrontPanel(QPainter& painter);

// The front panel as an image of 200 x 129 pixels; the corners outside the rounded case are
// transparent.
QImage frontPanelPicture();

} // namespace orx

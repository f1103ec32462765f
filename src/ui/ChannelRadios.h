#pragma once
// The red, green and blue radio buttons of the Quick windows that work on one colour channel
// at a time (Quick Background, Quick Filter): bold captions in their channel's colour, under
// the names tests and batch runs know ("redradio", "greenradio", "blueradio").
#include <array>
#include <functional>

class QBoxLayout;
class QRadioButton;
class QWidget;

namespace pixoral {

// Adds the three buttons to `into`, red first; a click on button ch calls onClick(ch). Their
// captions are left to the window.
std::array<QRadioButton*, 3> addChannelRadios(QWidget* parent, QBoxLayout* into, std::function<void(int)> onClick);

}  // namespace pixoral

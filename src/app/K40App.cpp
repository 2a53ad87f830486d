#include "app/K40App.h"

#include "panel/Form1.h"
#include "platform/Typefaces.h"

K40App::K40App() {
    services_.messages = &messages_;
    services_.clock = &clock_;
}

K40App::~K40App() = default;

void K40App::start() {
    Typefaces::registerSubstitutions();
    panel_ = std::make_unique<Form1>();
    panel_->move(0, 0);
    panel_->show();
}

#include "quorl/core/ControlRegistry.h"
#include "quorl/window/MenuItem.h"

namespace Quorl {

// Every class the factories can build. A class is added here, under each factory that lists
// its name, by the change that brings it.
void RegisterToolkitControls(ControlRegistry& window, ControlRegistry& container) {
    window.Register(L"MenuItem", &MakeTitledControl<MenuItem>);
    container.Register(L"MenuItem", &MakeTitledControl<MenuItem>);
}

}  // namespace Quorl

#include "quorl/core/ControlRegistry.h"

namespace Quorl {

// Every class the factories can build. A class is added here, under each factory that lists
// its name, by the change that brings it, e.g.
//     window.Register(L"MButton", &MakeTitledControl<MButton>);
//     container.Register(L"MButton", &MakeTitledControl<MButton>);
void RegisterToolkitControls(ControlRegistry& window, ControlRegistry& container) {
    (void)window;
    (void)container;
}

}  // namespace Quorl

#include "quorl/platform/GtkPlatform.h"
namespace Quorl {
std::unique_ptr<Platform> CreateGtkPlatform() {
    return nullptr;
}
}  // namespace Quorl

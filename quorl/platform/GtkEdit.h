#pragma once

#include <memory>

#include "quorl/platform/NativeEdit.h"

namespace Quorl {

// Inside the GTK back end: a native edit on the overlay (a GtkOverlay*) of a host window.
std::unique_ptr<NativeEdit> CreateGtkEdit(void* overlay, const NativeEditStyle& style,
                                          NativeEditListener* listener);

}  // namespace Quorl

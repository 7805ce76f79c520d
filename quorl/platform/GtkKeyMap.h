#pragma once

namespace Quorl {

// The virtual-key code of a GDK key value, or 0 for keys the toolkit has no code for. Pass the
// key value of the key's first level (unshifted, first layout group) so that a key yields the
// same code whatever modifiers are held; left and right modifiers give VK_LSHIFT and so on.
int KeyvalToVirtualKey(unsigned keyval);

}  // namespace Quorl

#pragma once

namespace qrt
{

/// Queues a key-down of the virtual key @p virtualKey (a Windows virtual-key code such as 39 for
/// Right arrow or 34 for Page Down). It is delivered, once the current handler has returned and
/// the event loop runs again, to whichever widget has the focus at that moment; no key-up
/// follows. Keys without a Qt equivalent are dropped.
void synthesizeKey(int virtualKey);

/// The Qt key for a virtual-key code, or 0 when there is none.
int qtKeyForVirtualKey(int virtualKey);

/// The virtual-key code for a Qt key, or 0 when there is none.
int virtualKeyForQtKey(int qtKey);

} // namespace qrt

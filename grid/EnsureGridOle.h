// OLE on the calling thread, which the grids' drop targets and drag sources need. The
// program calls it once on its user-interface thread before it builds any grid, and every
// grid calls it again when it is built (a thread that has OLE already is left as it is).
#pragma once

// True when OLE is initialised on this thread. The first failure in the program shows "OLE
// initialization failed. Make sure that the OLE libraries are the correct version"; the
// grids then work on without drag and drop.
bool EnsureGridOle();

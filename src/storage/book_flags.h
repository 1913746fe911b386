#pragma once

namespace tarvik {

// The three flags of the record window, shared by the contacts and the
// operations of one file.
struct BookFlags
{
    bool recordChanged = false;     // the shown contact was edited since it was shown
    bool operationsChanged = false; // the shown operation was edited since it was read
    bool fileModified = false;      // a list differs from the files on disk
};

} // namespace tarvik

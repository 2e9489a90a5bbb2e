#pragma once

namespace zrv {

/// Prepares the process before anything is printed: the console shows the program's bytes as
/// UTF-8 (on Windows through its output code page; terminals elsewhere already do), and a
/// file-size limit makes a write fail instead of killing the process with SIGXFSZ.
void prepareProcess();

}  // namespace zrv

// qxshift, the converter: the process starts the runtime's view and runs ProgramEntry as
// program thread 1.
#include "converter/program_main.h"
#include "runtime/view/program_entry.h"

int main(int argc, char** argv) { return qx::RtRunProgram(argc, argv, &qx::ProgramEntry); }

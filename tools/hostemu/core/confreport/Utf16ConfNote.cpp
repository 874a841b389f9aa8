#include "confreport/Utf16ConfNote.h"

std::string utf16ConfNote() {
    return "conf.xml is saved as UTF-16 (Notepad's \"Unicode\"): the DLL reads it, but the copy "
           "that Init writes into brisvane.log cannot be read by people; save it as UTF-8";
}

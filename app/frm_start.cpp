// The sales screen's controls: construction and the look-up of the keys
// held by position.
#include "app/frm_start.h"

#include <stdexcept>
#include <utility>

namespace kippurun {

frmStart::frmStart(CounterFolders folders, const Clock& clock, Prompt& prompt, Module1* module)
    : folders_(std::move(folders)),
      clock_(clock),
      prompt_(prompt),
      module_(module ? module : &ownModule_) {
    buildForm();
    registry_.keepInitialState();
}

CommandButton& frmStart::fullKey(int n) {
    if (n < 1 || n > 52) throw std::out_of_range("fullKey: position " + std::to_string(n));
    return *fullKeys_[static_cast<std::size_t>(n)];
}

CommandButton& frmStart::cmdFull(int n) {
    if (n < 1 || n > 52 || !cmdFull_[static_cast<std::size_t>(n)])
        throw std::out_of_range("cmdFull: position " + std::to_string(n));
    return *cmdFull_[static_cast<std::size_t>(n)];
}

CommandButton& frmStart::cmdEki(int k) { return *cmdEki_.at(static_cast<std::size_t>(k)); }

Label& frmStart::lblHi(int n) { return *lblHi_.at(static_cast<std::size_t>(n)); }

std::array<frmStart::BillLine, 7> frmStart::billLines() {
    return {{
        {"01", 0, &lbl01, &txtTan01, &txtNin01, &txtSho01},
        {"02", 0, &lbl02, &txtTan02, &txtNin02, &txtSho02},
        {"03", 0, &lbl03, &txtTan03, &txtNin03, &txtSho03},
        {"21", 1, &lbl21, &txtTan21, &txtNin21, &txtSho21},
        {"22", 1, &lbl22, &txtTan22, &txtNin22, &txtSho22},
        {"31", 2, &lbl31, &txtTan31, &txtNin31, &txtSho31},
        {"32", 2, &lbl32, &txtTan32, &txtNin32, &txtSho32},
    }};
}

}  // namespace kippurun

// Emptying the bill and removing the calendar's day marks.
#include "app/frm_start.h"

namespace kippurun {

void frmStart::MeisaiClear() {
    for (int block = 0; block < 3; ++block) lblKenshuM(block).caption.clear();
    for (const BillLine& line : billLines())
        for (TextBox* box : {line.unit, line.count, line.subtotal}) box->text.clear();
    txtBill.text.clear();
}

void frmStart::CheckClear() {
    for (int n = 0; n < 42; ++n) lblHi(n).caption.clear();
}

}  // namespace kippurun

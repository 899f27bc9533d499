// Emptying the bill and removing the calendar's day marks.
#include "app/frm_start.h"

namespace kippurun {

void frmStart::MeisaiClear() {
    lblKenshuM(0).caption.clear();
    for (TextBox* box : {&txtTan01, &txtNin01, &txtSho01, &txtTan02, &txtNin02, &txtSho02,
                         &txtTan03, &txtNin03, &txtSho03})
        box->text.clear();
    lblKenshuM(1).caption.clear();
    for (TextBox* box : {&txtTan21, &txtNin21, &txtSho21, &txtTan22, &txtNin22, &txtSho22})
        box->text.clear();
    lblKenshuM(2).caption.clear();
    for (TextBox* box : {&txtTan31, &txtNin31, &txtSho31, &txtTan32, &txtNin32, &txtSho32})
        box->text.clear();
    txtBill.text.clear();
}

void frmStart::CheckClear() {
    for (int n = 0; n < 42; ++n) lblHi(n).caption.clear();
}

}  // namespace kippurun

// Station entry on the sales screen: the station lists' number boxes and
// focus. The determinations each list runs come with their own code.
#include <string>

#include "app/frm_start.h"

namespace kippurun {

void frmStart::cboHatsu_Click() { txtHatsu.text = std::to_string(cboHatsu.listIndex()); }
void frmStart::cboChaku_Click() { txtChaku.text = std::to_string(cboChaku.listIndex()); }
void frmStart::cboHatsu2_Click() { txthatsu2.text = std::to_string(cboHatsu2.listIndex()); }
void frmStart::cboChaku2_Click() { txtChaku2.text = std::to_string(cboChaku2.listIndex()); }
void frmStart::cboHatsu4_Click() { txtHatsu4.text = std::to_string(cboHatsu4.listIndex()); }
void frmStart::cboChaku4_Click() { txtChaku4.text = std::to_string(cboChaku4.listIndex()); }

// A bill on the screen must belong to the entry shown, so entering any
// selection list empties it.
void frmStart::cboHatsu_GotFocus() { MeisaiClear(); }
void frmStart::cboChaku_GotFocus() { MeisaiClear(); }
void frmStart::cboHatsu2_GotFocus() { MeisaiClear(); }
void frmStart::cboChaku2_GotFocus() { MeisaiClear(); }
void frmStart::cboHatsu3_GotFocus() { MeisaiClear(); }
void frmStart::cboChaku3_GotFocus() { MeisaiClear(); }
void frmStart::cboHatsu4_GotFocus() { MeisaiClear(); }
void frmStart::cboChaku4_GotFocus() { MeisaiClear(); }

void frmStart::cmdEki_Click(int) {}

}  // namespace kippurun

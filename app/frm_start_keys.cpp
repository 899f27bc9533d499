// The ticket-type and count keys, the count boxes, and the release,
// student and settings keys of the sales screen.
#include "app/frm_start.h"

namespace kippurun {

void frmStart::cboKenshu_Click() {}
void frmStart::cboKenshu3_Click() {}
void frmStart::cboKenshu4_Click() {}

void frmStart::cboKenshu_GotFocus() { MeisaiClear(); }
void frmStart::cboKenshu3_GotFocus() { MeisaiClear(); }
void frmStart::cboKenshu4_GotFocus() { MeisaiClear(); }

void frmStart::cmdKatamichi_Click() {}
void frmStart::cmdOfuku_Click() {}
void frmStart::cmdRenzoku_Click() {}
void frmStart::cmd11Kai_Click() {}
void frmStart::cmd6Kai_Click() {}
void frmStart::cmdJiyuKai_Click() {}
void frmStart::cmdJitoku_Click() {}
void frmStart::cmdShiToku_Click() {}
void frmStart::cmdGToku_Click() {}
void frmStart::cmdMarine_Click() {}
void frmStart::cmdMarineG_Click() {}
void frmStart::cmdO1_Click() {}
void frmStart::cmdO2_Click() {}
void frmStart::cmdO3_Click() {}
void frmStart::cmdO4_Click() {}
void frmStart::cmdK1_Click() {}
void frmStart::cmdK2_Click() {}
void frmStart::cmdK3_Click() {}
void frmStart::cmdK4_Click() {}

// Changing a count makes the bill on the screen stale.
void frmStart::txtNinzu_Click() { MeisaiClear(); }
void frmStart::txtNinzuK_Click() { MeisaiClear(); }
void frmStart::txtNinzuG_Click() { MeisaiClear(); }

void frmStart::cmdKaihou_Click() {}
void frmStart::cmdGaku_Click() {}
void frmStart::cmdSettei_Click() {}

}  // namespace kippurun

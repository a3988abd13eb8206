#include "report/gui/frm_save.h"

namespace orvanta {

FrmSave::FrmSave(const BirthDetails&, const Results&, const InterpretationTexts&, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Orvanta v1.75"));
    setModal(true);
}

}  // namespace orvanta

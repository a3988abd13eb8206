#pragma once

#include <QDialog>

#include "chart/birth_form.h"
#include "chart/results.h"
#include "display/interpretation_texts.h"

namespace orvanta {

// The report window: built afresh at each opening from the results window's
// contents, shown modal over it.
class FrmSave : public QDialog {
    Q_OBJECT
public:
    FrmSave(const BirthDetails& birth, const Results& results, const InterpretationTexts& texts,
            QWidget* parent = nullptr);
};

}  // namespace orvanta

#include "screens/common/upper_case.h"

#include <QLineEdit>
#include <QValidator>

namespace {

class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

} // namespace

void setUpperCase(QLineEdit* edit) {
    edit->setValidator(new UpperCaseValidator(edit));
}

#include "dialog_templates.h"

namespace vlauto {

// Both templates: "MS Sans Serif" 8 point, 331 x 222 dialog units, a pop-up
// with caption and modal frame, no system menu, brought to the foreground
// on creation, with the application-window extended style. Controls in
// template order; -1 is the white panel, which has no identifier.
const ui::DialogTemplate& WelcomeTemplate() {
    static const ui::DialogTemplate kTemplate{
        kWelcomeTemplateId,
        kWelcomeDialogName,
        331,
        222,
        {
            {kIdCancelButton, {274, 199, 50, 14}},
            {kIdButton1, {122, 35, 202, 24}},
            {kIdButton2, {122, 59, 202, 24}},
            {kIdButton3, {122, 83, 202, 24}},
            {kIdButton4, {122, 107, 202, 24}},
            {kIdHeading, {117, 5, 207, 27}},
            {kIdPicture, {0, 0, 111, 193}},
            {kIdSeparator, {0, 193, 332, 1}},
            {kIdVersion, {260, 184, 62, 9}},
            {-1, {111, 0, 220, 193}},
            {kIdDescription, {122, 140, 196, 42}},
            {kIdDescriptionGroup, {117, 131, 205, 53}},
        },
    };
    return kTemplate;
}

const ui::DialogTemplate& ManualTemplate() {
    static const ui::DialogTemplate kTemplate{
        kManualTemplateId,
        kManualDialogName,
        331,
        222,
        {
            {kIdCancelButton, {274, 199, 50, 15}},
            {kIdDriverManual, {122, 51, 202, 24}},
            {kIdDockwaveManual, {122, 76, 202, 24}},
            {kIdBackButton, {167, 199, 50, 15}},
            {kIdHeading, {117, 5, 207, 27}},
            {kIdPicture, {0, 0, 110, 193}},
            {kIdSeparator, {0, 193, 332, 1}},
            {-1, {110, 0, 221, 193}},
            {kIdDescription, {124, 148, 192, 34}},
            {kIdDescriptionGroup, {117, 140, 208, 44}},
        },
    };
    return kTemplate;
}

}  // namespace vlauto

// What the four follower setup dialogs do with the parameter set: showing a
// dialog loads the parameters into its fields; OK stores the fields back. The
// roller dialog's follower offset is neither loaded nor stored: every
// calculation reads the field itself.
#pragma once

namespace veltrano {

void TForm2_FormShow();   // finger follower type A
void F2_okbuttonClick();
void TForm3_FormShow();   // finger follower type B
void F3_okbuttonClick();
void TForm4_FormShow();   // flat follower
void F4_okbuttonClick();
void TForm5_FormShow();   // roller follower
void F5_okbuttonClick();

}  // namespace veltrano

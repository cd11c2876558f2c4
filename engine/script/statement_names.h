// The names of the statements the loop itself carries out, and of those its
// scans and checks look at. Statement names are compared exactly.
#pragma once

namespace pellion::statements {

inline constexpr char16_t If[] = u"If";
inline constexpr char16_t ElseIf[] = u"Else If";
inline constexpr char16_t Else[] = u"Else";
inline constexpr char16_t End[] = u"End";
inline constexpr char16_t While[] = u"While";
inline constexpr char16_t Wend[] = u"Wend";
inline constexpr char16_t Repeat[] = u"Repeat";
inline constexpr char16_t Until[] = u"Until";
inline constexpr char16_t ForEach[] = u"For Each";
inline constexpr char16_t Next[] = u"Next";
inline constexpr char16_t Break[] = u"Break";
inline constexpr char16_t Continue[] = u"Continue";
inline constexpr char16_t Label[] = u"Label";
inline constexpr char16_t GoToLabel[] = u"GoTo Label";
inline constexpr char16_t WizardLoop[] = u"Wizard Loop";
inline constexpr char16_t DisplayDialog[] = u"Display Dialog";
inline constexpr char16_t ReturnFromInclude[] = u"Return from Include Script";
inline constexpr char16_t Comment[] = u"Comment";
inline constexpr char16_t Ignore[] = u"Ignore";

}  // namespace pellion::statements

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The about box's own wording. Every line must stay inside its label at the
// label's font; the about box test checks that.
namespace abouttexts {

inline constexpr char16_t description[] =
    u"   Эта программа представляет собой модель электронного осциллографа с подключённым "
    u"к нему блоком, способным вырабатывать различные сигналы. Программа предназначена для "
    u"проведения лабораторных работ по соответствующим темам.";

inline constexpr char16_t editor[] = u"Редактор: методист кафедры, к. т. н.";

inline constexpr char16_t author1[] = u"Модель: команда Вирталаб";
inline constexpr char16_t author2[] = u"Графика: команда Вирталаб";
inline constexpr char16_t author3[] = u"Задачи: команда Вирталаб";

inline constexpr char16_t rights[] = u"© Команда Вирталаб, 2026";

inline constexpr char16_t link[] = u"virtalab.example";

} // namespace abouttexts

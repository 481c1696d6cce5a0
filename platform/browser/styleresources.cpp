// SPDX-License-Identifier: GPL-3.0-or-later
// The browser's site leaves out Qt's common style pictures (files, drives,
// media buttons, each in several sizes): nothing in the program shows them,
// and they would be a tenth of the site. Qt Widgets still registers them
// by name at start-up; there is nothing to register.
int qInitResources_qstyle();
int qInitResources_qstyle() {
    return 1;
}

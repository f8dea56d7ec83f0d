// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/prompter.h"

namespace sw {
Prompter::~Prompter() = default;
} // namespace sw

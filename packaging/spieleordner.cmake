# SPDX-FileCopyrightText: 2026 Orwen
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Run by CPack once the files are installed into its staging folder, before it
# packs them: moves the program from the folder `cmake --install` uses into
# games/, where Debian keeps games (and puts /usr/games on the users' PATH), and
# takes the compiler's notes off it, as Debian's own packaging tools do.
set(wurzel "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(MAKE_DIRECTORY "${wurzel}/games")
file(RENAME "${wurzel}/${CPACK_WK_PROGRAMMORDNER}/wurfkrone" "${wurzel}/games/wurfkrone")
file(GLOB rest "${wurzel}/${CPACK_WK_PROGRAMMORDNER}/*")
if(NOT rest)
    file(REMOVE_RECURSE "${wurzel}/${CPACK_WK_PROGRAMMORDNER}")
endif()
execute_process(COMMAND "${CPACK_WK_STRIP}" --remove-section=.comment --remove-section=.note "${wurzel}/games/wurfkrone"
                COMMAND_ERROR_IS_FATAL ANY)

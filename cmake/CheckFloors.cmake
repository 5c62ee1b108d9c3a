# Fails when a file includes across a floor's wall. ROOT: the source folder; LOGIC and
# QT: the files of the logic and of the Qt layer.
#   The logic sees the desktop through platform/'s interfaces only: no platform/qt/, no
#   Qt Widgets (nor Print Support, which is built on them).
#   The Qt layer implements those interfaces on the pictures it is handed: it includes
#   platform/ and pictures/, never the logic above them.
set(logic_forbidden
    "#[ \t]*include[ \t]*[<\"](platform/qt/|QtWidgets|QtPrintSupport|Q(Application|Widget|Dialog|MessageBox|MainWindow|Menu|Action|Label|AbstractButton|PushButton|FileDialog|ToolTip|Printer|PrintDialog|Drag|Style)[>.\"])")
set(qt_forbidden "#[ \t]*include[ \t]*\"(app|gallery|commands|dialogs|viewers)/")

set(violations "")
function(check_files files pattern floor)
    foreach(file ${files})
        if(NOT IS_ABSOLUTE "${file}")
            set(file "${ROOT}/${file}")
        endif()
        file(STRINGS "${file}" lines REGEX "${pattern}")
        foreach(line ${lines})
            file(RELATIVE_PATH name "${ROOT}" "${file}")
            string(STRIP "${line}" line)
            list(APPEND violations "${name} (${floor}): ${line}")
        endforeach()
    endforeach()
    set(violations "${violations}" PARENT_SCOPE)
endfunction()

check_files("${LOGIC}" "${logic_forbidden}" "logic")
check_files("${QT}" "${qt_forbidden}" "Qt layer")
if(violations)
    list(JOIN violations "\n  " text)
    message(FATAL_ERROR "Includes across the floors' walls:\n  ${text}")
endif()

# Runs quibbix-scenario on scripts it must reject: each ends with exit status 2 and "LINE N:" on
# stderr for its bad line, whatever the build's sanitizers find on the way.
#   cmake -DSCENARIO=path/to/quibbix-scenario -DWORK=folder -P RejectedScripts.cmake
# Two scripts whose bad numbers would overflow the game's arrays and coordinates if they ran; the
# unit tests hold every other rejection.
set(cases
    "start\nset LastBall 32000\ntick\n|2"
    "start\nclick pctNew\nmove 2147483647 -2147483648\n|3")
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" parts "${case}")
    list(GET parts 0 script)
    list(GET parts 1 line)
    file(WRITE ${WORK}/rejected.scn "${script}")
    execute_process(COMMAND ${SCENARIO} --program-dir /opt/quibbix ${WORK}/rejected.scn
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(REPLACE "\n" "\\n" shown "${script}")
    if(NOT status EQUAL 2 OR NOT err MATCHES "^LINE ${line}: [^\n]*\n$")
        message(SEND_ERROR "${shown}: status ${status}, stderr: ${err}")
    else()
        message(STATUS "ok - ${shown}-> ${err}")
    endif()
endforeach()
file(REMOVE ${WORK}/rejected.scn)

# updater_add_test(NAME source...): one QtTest executable, run headless.
function(updater_add_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE updater_ui updater_test_support Qt6::Test)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()

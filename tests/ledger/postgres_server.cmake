# The tests' PostgreSQL server: one throw-away cluster for the whole run,
# made before the first test that needs it and removed after the last, also
# when a test failed. Its socket lives in a short folder of /tmp named after
# this build tree (a socket's path may not be long), so that its URL is known
# here and two build trees never share a server.
string(SHA1 postgres_folder_hash "${CMAKE_CURRENT_BINARY_DIR}")
string(SUBSTRING "${postgres_folder_hash}" 0 12 postgres_folder_hash)
set(KELVANE_TEST_POSTGRES_FOLDER /tmp/kelvane-pg-${postgres_folder_hash})
set(KELVANE_TEST_POSTGRES_CLUSTER ${CMAKE_CURRENT_SOURCE_DIR}/postgres-cluster)
execute_process(COMMAND sh ${KELVANE_TEST_POSTGRES_CLUSTER} url ${KELVANE_TEST_POSTGRES_FOLDER}
                OUTPUT_VARIABLE KELVANE_TEST_POSTGRES_URL OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)

add_test(NAME ledger.postgres_server_start
         COMMAND sh ${KELVANE_TEST_POSTGRES_CLUSTER} setup ${KELVANE_TEST_POSTGRES_FOLDER})
set_tests_properties(ledger.postgres_server_start PROPERTIES FIXTURES_SETUP ledger_postgres)
add_test(NAME ledger.postgres_server_stop
         COMMAND sh ${KELVANE_TEST_POSTGRES_CLUSTER} cleanup ${KELVANE_TEST_POSTGRES_FOLDER})
set_tests_properties(ledger.postgres_server_stop PROPERTIES FIXTURES_CLEANUP ledger_postgres)

# The properties of a test that uses the server: it runs after the server
# started and alone with it (one test kills and restarts it), and finds it
# through the URL.
set(KELVANE_TEST_POSTGRES_PROPERTIES
    FIXTURES_REQUIRED ledger_postgres
    RESOURCE_LOCK ledger_postgres
    ENVIRONMENT "KELVANE_TEST_POSTGRES_URL=${KELVANE_TEST_POSTGRES_URL}")


# Form-free services that forms of other subsystems call (the voucher store,
# the partner search, the invoice and payment stores, ...). Each lives in its
# subsystem's folder; list its source here, one per line, so that it is built
# into ombrelo_services and not into its subsystem's form library.
set(OMBRELO_SERVICE_SOURCES
  src/journal/bankimport.cpp
  src/journal/bankimportrun.cpp
  src/journal/documentrules.cpp
  src/journal/documentstore.cpp
  src/journal/entryrules.cpp
  src/journal/importprofilestore.cpp
  src/journal/invoicestore.cpp
  src/journal/paymentstore.cpp
  src/journal/templatestore.cpp
  src/journal/voucher.cpp
  src/journal/voucherstore.cpp
  src/masterdata/newpartner.cpp
  src/masterdata/partnerstore.cpp
  src/reports/balance.cpp
  src/reports/closingintent.cpp
  src/reports/periodclosing.cpp
)
# As absolute paths without "..", so that the form libraries' globs can
# leave them out.
get_filename_component(OMBRELO_SERVICE_ROOT ${CMAKE_CURRENT_LIST_DIR} DIRECTORY)
list(TRANSFORM OMBRELO_SERVICE_SOURCES PREPEND ${OMBRELO_SERVICE_ROOT}/)

#include "db/db_error.h"

DbError::DbError(QString message, QString sqlState, int code)
    : message_(std::move(message)), sqlState_(std::move(sqlState)), code_(code),
      utf8_(message_.toUtf8()) {}

DbError DbError::lost(QString message, QString sqlState, int code) {
    DbError error(std::move(message), std::move(sqlState), code);
    error.lost_ = true;
    return error;
}

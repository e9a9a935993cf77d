// The station's tables as the point-of-sale system defines them, for trial, demo and test
// databases. A real station database is created by the point-of-sale system, not by us.
#pragma once

#include <QStringList>

class Connection;

struct TrialSchemaOptions {
    // An older station database: cust_unit without discount_g/discount_d and oil_change
    // without in_price, the three columns the schema upgrade adds.
    bool older = false;
    // Codes as blank-padded char(n) and amounts as float8, as some stations have them,
    // instead of varchar(n) and numeric.
    bool charCodes = false;
};

// The CREATE TABLE statements of every station table, in creation order.
QStringList trialSchemaStatements(const TrialSchemaOptions& options = {});

// The names of the station tables, in creation order.
QStringList trialTableNames();

// Creates every station table on `cn`. Throws DbError when a statement fails (for example
// when a table exists already).
void createTrialTables(Connection& cn, const TrialSchemaOptions& options = {});

// Drops every station table that exists on `cn`.
void dropTrialTables(Connection& cn);

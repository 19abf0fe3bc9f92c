#!/usr/bin/env node
// Validates a Frictionless Data Package offline: its descriptor against the
// tabular data package profile, then every row of every resource cast by its
// Table Schema (types, constraints, missing values, unique and primary keys).
// Prints each error and exits 1 when there is one.
'use strict';
const path = require('path');
const {Package} = require('datapackage');

async function validate(descriptor) {
  const dataPackage = await Package.load(path.resolve(descriptor), {strict: false});
  const errors = dataPackage.errors.map((error) => `datapackage.json: ${error.message}`);
  for (const resource of dataPackage.resources) {
    if (!resource.valid) {
      errors.push(...resource.errors.map((error) => `${resource.name}: ${error.message}`));
      continue;
    }
    const rows = await resource.read({cast: true, forceCast: true});
    for (const row of rows) {
      if (!(row instanceof Error)) continue;
      const details = (row.errors || []).map((error) => error.message).join('; ');
      errors.push(`${resource.descriptor.path}: row ${row.rowNumber}: ${row.message}${details ? ': ' + details : ''}`);
    }
  }
  return errors;
}

if (process.argv.length !== 3) {
  console.error('usage: validate.js DIR/datapackage.json');
  process.exit(2);
}
validate(process.argv[2]).then(
  (errors) => {
    for (const error of errors) console.error(error);
    process.exit(errors.length ? 1 : 0);
  },
  (error) => {
    console.error(error.message);
    process.exit(1);
  });

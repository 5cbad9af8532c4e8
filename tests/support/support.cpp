// Shared test fixtures live in this library (see the headers beside it).
